#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "calendar/names.h"
#include "document/calendar_document.h"
#include "html/html_calendar.h"
#include "html/html_year.h"
#include "support/english_names.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

NameTable EnglishNames() {
    return test::EnglishNames("c0c0c0");
}

// The year page as a browser's parser reads it, against Python's calendar: four months
// a row, each day in its column, the weekend columns marked and coloured when asked,
// the ISO weeks; a day with events marked, its lines its tooltip, escaped.
TEST(HtmlYear, MonthsDaysWeekendsAndWeeksAreAsPythonsCalendarHasThem) {
    struct Case {
        CalendarRequest request;
        bool events;
    };
    const Case cases[] = {
        {{0, 2027, 1, true}, false},
        {{8, 2026, 0, false, false, false, Paper::Letter, 1, true}, true},
        {{0, 1900, 0, true, false, false, Paper::Letter, 1, true}, false},
        {{0, 2100, 1, false}, false},
    };
    for (Case c : cases) {
        c.request.layout = Layout::Year;
        SCOPED_TRACE(std::to_string(c.request.year) + "-" +
                     std::to_string(c.request.monthIndex + 1));
        EventList list;
        list.titles = {"<Review> & \"plan\""};
        const std::int32_t day = DayNumberOf(2026, 10, 3);
        list.occurrences = {{day, day, 9 * 60, 0}};
        const EventCalendar events = ArrangeEvents(list, DaysOf(c.request), TwentyFourHourTime);
        const std::string page = JoinLinesCrLf(
            HtmlYearLines(ComposeCalendar(c.request, EnglishNames(), c.events ? &events : nullptr),
                          "https://orvanta.example/tessaly/"));
        EXPECT_EQ(test::CountOf(page, "<table class=\"month\">"), 12u);
        EXPECT_EQ(test::CountOf(page, ".weekend {background: #c0c0c0;}"),
                  c.request.colorWeekends ? 1u : 0u);
        EXPECT_EQ(test::CountOf(page, "class=\"events\""), c.events ? 1u : 0u);
        EXPECT_EQ(
            test::CountOf(page, "title=\"09:00 &lt;Review&gt; &amp; &quot;plan&quot;\">3</td>"),
            c.events ? 1u : 0u);
#ifndef _WIN32
        test::TempFolder folder;
        const auto path = folder.path() / "year.html";
        test::WriteWholeFile(path, page);
        const std::string command =
            "python3 " TESSALY_YEAR_PAGE_CHECK " " + path.string() + " " +
            std::to_string(c.request.year) + " " + std::to_string(c.request.monthIndex + 1) +
            (c.request.weekStart == 0 ? " 0 " : " 6 ") + (c.request.weekNumbers ? "1" : "0");
        FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
        std::string report;
        char buffer[4096];
        for (std::size_t got = 0; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            report.append(buffer, got);
        }
        const int status = ::pclose(pipe);
        if (std::system("python3 --version >/dev/null 2>&1") != 0 && std::getenv("CI") == nullptr) {
            GTEST_SKIP() << "python3 is not here to check the page";
        }
        EXPECT_EQ(status, 0);
        EXPECT_EQ(report, "ok\n");
#endif
    }
}

// "123/242" in the upper right corner of each day of a month page, with the option only.
TEST(HtmlYear, MonthPagesShowTheDayOfTheYearWhenAsked) {
    CalendarRequest request{4, 2027, 1};
    const std::string plain =
        JoinLinesCrLf(HtmlCalendarLines(ComposeCalendar(request, EnglishNames(), nullptr), ""));
    request.dayOfYear = true;
    const std::string page =
        JoinLinesCrLf(HtmlCalendarLines(ComposeCalendar(request, EnglishNames(), nullptr), ""));
    EXPECT_EQ(test::CountOf(plain, "doy"), 0u);
    EXPECT_EQ(test::CountOf(page, "<span class=\"doy\">"), 31u);
    EXPECT_EQ(test::CountOf(page, "span.doy {float: right;"), 1u);
    EXPECT_EQ(test::CountOf(page, "<strong><span class=\"doy\">123/242</span>3</strong>"), 1u);
    EXPECT_EQ(test::CountOf(page, "<span class=\"doy\">151/214</span>31</strong>"), 1u);
}

}  // namespace
}  // namespace tessaly
