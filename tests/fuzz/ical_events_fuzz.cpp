// Any bytes read as an iCalendar file and drawn into a December page: the reading either
// fails with a message or gives occurrences within the days asked for, every line a cell
// shows is one line of valid text, and the page's file keeps its structure.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/events.h"
#include "core/winansi.h"
#include "document/calendar_document.h"
#include "ical/ical_reader.h"
#include "pdfcalendar/pdf_calendar_renderer.h"
#include "support/pdf_checks.h"

namespace {

bool OneLineOfText(const std::string& line) {
    const auto characters = tessaly::Utf8ToCodePoints(line);
    if (!characters || characters->empty()) {
        return false;
    }
    for (const char32_t c : *characters) {
        if (c < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tessaly;
    static const bool zoned = [] {
        ::setenv("TZ", "Europe/Berlin", 1);
        return true;
    }();
    (void)zoned;
    CalendarRequest december;
    december.monthIndex = 11;
    december.year = 2026;
    december.pdf = true;
    const DayRange days = DaysOf(december);

    EventList events;
    std::vector<std::string> warnings;
    try {
        ReadICalendarEvents("fuzz.ics", std::string_view(reinterpret_cast<const char*>(data), size),
                            days, events, warnings,
                            std::chrono::steady_clock::now() + std::chrono::seconds(1));
    } catch (const ICalendarError& error) {
        if (std::string_view(error.what()).substr(0, 9) != "fuzz.ics:") {
            std::abort();
        }
        return 0;
    }
    for (const EventOccurrence& occurrence : events.occurrences) {
        if (occurrence.firstDay > occurrence.lastDay || occurrence.lastDay < days.first ||
            occurrence.firstDay > days.last || occurrence.title >= events.titles.size() ||
            occurrence.startMinute < -1 || occurrence.startMinute >= 24 * 60) {
            std::abort();
        }
    }
    const EventCalendar calendar = ArrangeEvents(events, days, TwentyFourHourTime);
    for (int day = 1; day <= 31; ++day) {
        if (const DayEvents* shown = calendar.On(2026, 11, day)) {
            for (const std::string& line : shown->lines) {
                if (!OneLineOfText(line)) {
                    std::abort();
                }
            }
        }
    }

    NameTable names;
    FillDayNames(names, false, {});
    FillMonthNames(names, false, {});
    TPrintPDF pdf("Orvanta");
    pdf.CreationDate = {2026, 1, 2, 3, 4, 5};
    const std::string file =
        DrawPdfCalendar(pdf, ComposeCalendar(december, names, &calendar), {}, 90).Joined();
    if (!test::CrossReferenceFailures(file).empty()) {
        std::abort();
    }
    return 0;
}
