#include <benchmark/benchmark.h>

#include "calendar/names.h"
#include "core/product.h"
#include "document/calendar_document.h"
#include "html/html_calendar.h"

namespace {

using namespace tessaly;

// Names, document, lines and joined text: the in-process work of one HTML calendar.
void BM_HtmlCalendarPage(benchmark::State& state) {
    CalendarRequest request{4, 2026, 0, true};
    for (auto _ : state) {
        NameTable names;
        FillDayNames(names, false, {});
        FillMonthNames(names, false, {});
        names[kWeekendColorSlot] = kDefaultWeekendColor;
        const std::string page = JoinLinesCrLf(
            HtmlCalendarLines(ComposeCalendar(request, names, nullptr), kProductWebAddress));
        benchmark::DoNotOptimize(page.data());
    }
}
BENCHMARK(BM_HtmlCalendarPage);

}  // namespace

BENCHMARK_MAIN();
