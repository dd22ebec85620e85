#include <gtest/gtest.h>

#include <sstream>
#include <utility>

#include "calendar/names.h"
#include "document/calendar_document.h"
#include "support/english_names.h"
#include "support/host_command.h"
#include "text/text_calendar.h"

namespace tessaly {
namespace {

using test::EnglishNames;

std::string Text(const CalendarRequest& request, const EventCalendar* events = nullptr,
                 const NameTable& names = EnglishNames(), const DisplayColumns& columns = {},
                 const std::optional<TextHighlight>& today = std::nullopt) {
    return TextCalendar(ComposeCalendar(request, names, events, columns), columns, today);
}

// What a program prints in English; nothing when it cannot run here (skipped, or failed
// under CI). The Windows tests' Wine session is French.
std::optional<std::string> Output(const std::string& command) {
    test::CommandRun run = test::RunHostCommand("LC_ALL=C " + command + " 2>/dev/null");
    if (run.exitCode != 0) {
        return std::nullopt;
    }
    return std::move(run.output);
}

#define SKIP_WITHOUT(tool)                                             \
    do {                                                               \
        if (std::getenv("CI") != nullptr) {                            \
            FAIL() << tool << " is missing (scripts/install-deps.sh)"; \
        }                                                              \
        GTEST_SKIP() << tool << " is not here";                        \
    } while (false)

// The documented spacing of ours against cal's: no line ends in blanks, and a month
// shows only the weeks it has (cal always prints six, blank ones too).
std::string WithoutTrailingBlanks(const std::string& text, bool dropEmptyLastLines) {
    std::istringstream lines(text);
    std::string result;
    for (std::string line; std::getline(lines, line);) {
        line.erase(line.find_last_not_of(' ') + 1);
        result += line + "\n";
    }
    while (dropEmptyLastLines && result.ends_with("\n\n")) {
        result.pop_back();
    }
    return result;
}

// Every seventh month from January 1900 to December 2100, in both week layouts, as
// Python's calendar.TextCalendar lays it out.
TEST(TextCalendar, MonthsAreAsPythonsTextCalendarLaysThemOut) {
    std::string script =
        "import calendar\n"
        "for first in (6, 0):\n"
        "    for k in range(0, 201 * 12, 7):\n"
        "        print(calendar.TextCalendar(first).formatmonth(1900 + k // 12, k % 12 + 1), "
        "end='\\f')\n";
    if (!Output("python3 --version")) {
        SKIP_WITHOUT("python3");
    }
    const auto expected = Output("python3 -c \"" + script + "\"");
    ASSERT_TRUE(expected);
    std::istringstream months(*expected);
    int compared = 0;
    for (const int weekStart : {1, 0}) {
        for (int k = 0; k < 201 * 12; k += 7) {
            std::string month;
            std::getline(months, month, '\f');
            const CalendarRequest request{k % 12, 1900 + k / 12, weekStart};
            EXPECT_EQ(Text(request), month) << request.year << "-" << request.monthIndex + 1;
            ++compared;
        }
    }
    EXPECT_EQ(compared, 2 * 345);
}

// Days of the year (cal -j) and whole years (cal -y), in the Sunday layout.
TEST(TextCalendar, DaysOfTheYearAndYearsAreAsCalShowsThem) {
    if (!Output("command -v cal")) {
        SKIP_WITHOUT("cal (package ncal)");
    }
    for (const int year : {1900, 1901, 2000, 2024, 2027, 2100}) {
        for (const int month : {1, 2, 3, 12}) {
            CalendarRequest request{month - 1, year, 1};
            request.dayOfYear = true;
            const auto cal = Output("cal -j " + std::to_string(month) + " " + std::to_string(year));
            ASSERT_TRUE(cal);
            EXPECT_EQ(Text(request), WithoutTrailingBlanks(*cal, true)) << month << "/" << year;
        }
        CalendarRequest request{0, year, 1};
        request.layout = Layout::Year;
        const auto cal = Output("cal -y " + std::to_string(year));
        ASSERT_TRUE(cal);
        EXPECT_EQ(Text(request), WithoutTrailingBlanks(*cal, false)) << year;
    }
}

EventCalendar Events(const CalendarRequest& request) {
    EventList list;
    list.titles = {"Stand-up", "Holiday", "Launch \xE6\x97\xA5"};
    const std::int32_t first = DayNumberOf(request.year, request.monthIndex, 1);
    list.occurrences = {{first, first, 9 * 60 + 30, 0},
                        {first, first, -1, 1},
                        {first + 14, first + 14, 17 * 60, 2},
                        {first + 14, first + 14, 8 * 60 + 5, 0}};
    return ArrangeEvents(list, DaysOf(request), TwentyFourHourTime);
}

// Week numbers lead, wide names keep their columns, today alone is in reverse video, and
// the events follow the grid in date order.
TEST(TextCalendar, WeeksWideNamesTodayAndEventsHaveTheirPlaces) {
    NameTable japanese = EnglishNames();
    japanese[kFirstMonthSlot + 1] = "2\xE6\x9C\x88";    // 2月
    japanese[kFirstShortDaySlot + 0] = "\xE6\x97\xA5";  // 日
    const DisplayColumns wide(U"\u6708\u65E5", {2, 2});
    CalendarRequest weeks{1, 2026, 0};
    weeks.weekNumbers = true;
    const CalendarRequest february{1, 2026, 1};
    const EventCalendar events = Events(february);
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"Monday first with ISO weeks", Text(weeks),
         "     February 2026\n"
         "Wk Mo Tu We Th Fr Sa Su\n"
         " 5                    1\n"
         " 6  2  3  4  5  6  7  8\n"
         " 7  9 10 11 12 13 14 15\n"
         " 8 16 17 18 19 20 21 22\n"
         " 9 23 24 25 26 27 28\n"},
        {"wide characters", Text(february, nullptr, japanese, wide),
         "      2\xE6\x9C\x88 2026\n"
         "\xE6\x97\xA5 Mo Tu We Th Fr Sa\n"
         " 1  2  3  4  5  6  7\n"
         " 8  9 10 11 12 13 14\n"
         "15 16 17 18 19 20 21\n"
         "22 23 24 25 26 27 28\n"},
        {"today", Text(february, nullptr, EnglishNames(), {}, TextHighlight{2026, 1, 7}),
         "   February 2026\n"
         "Su Mo Tu We Th Fr Sa\n"
         " 1  2  3  4  5  6  \x1b[7m7\x1b[27m\n"
         " 8  9 10 11 12 13 14\n"
         "15 16 17 18 19 20 21\n"
         "22 23 24 25 26 27 28\n"},
        {"today in another month",
         Text(february, nullptr, EnglishNames(), {}, TextHighlight{2026, 2, 7}), Text(february)},
        {"events", Text(february, &events),
         Text(february) + "\n"
                          "Sun  1  Holiday\n"
                          "Sun  1  09:30  Stand-up\n"
                          "Sun 15  08:05  Stand-up\n"
                          "Sun 15  17:00  Launch \xE6\x97\xA5\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, c.expected) << c.name;
    }
}

}  // namespace
}  // namespace tessaly
