#include <gtest/gtest.h>

#include "calendar/events.h"

namespace tessaly {
namespace {

// December 2026.
const DayRange kDecember{DayNumberOf(2026, 11, 1), DayNumberOf(2026, 11, 31)};

std::int32_t Dec(int day) {
    return DayNumberOf(2026, 11, day);
}

// What a day shows: all-day and continuing events first, in the order they began, then
// timed ones by time; ties by title, then as listed; only the range's days; a flood
// counted.
TEST(Events, EachDayListsItsEventsInOrder) {
    EventList list;
    list.titles = {"Standup", "Holiday", "Trip", "Alpha", "Night shift", "Before", "After"};
    list.occurrences = {
        {Dec(3), Dec(3), 9 * 60 + 30, 0},  // Standup 09:30
        {Dec(3), Dec(3), -1, 1},           // Holiday
        {Dec(1), Dec(4), -1, 2},           // Trip, began earlier
        {Dec(3), Dec(3), 9 * 60 + 30, 3},  // Alpha 09:30, before Standup
        {Dec(2), Dec(3), 22 * 60, 4},      // Night shift, timed on the 2nd
        {DayNumberOf(2026, 10, 20), DayNumberOf(2026, 10, 30), -1, 5},  // November only
        {DayNumberOf(2027, 0, 1), DayNumberOf(2027, 0, 1), -1, 6},      // January only
        {Dec(31), DayNumberOf(2027, 0, 2), 23 * 60 + 5, 6},             // runs past the range
        {Dec(5), Dec(5), -1, 99},                                       // no such title
    };
    const EventCalendar calendar = ArrangeEvents(list, kDecember, TwentyFourHourTime);
    const std::pair<int, std::vector<std::string>> days[] = {
        {1, {"Trip"}},
        {2, {"Trip", "22:00 Night shift"}},
        {3, {"Trip", "Night shift", "Holiday", "09:30 Alpha", "09:30 Standup"}},
        {4, {"Trip"}},
        {31, {"23:05 After"}},
    };
    for (const auto& [day, lines] : days) {
        const DayEvents* shown = calendar.On(2026, 11, day);
        ASSERT_NE(shown, nullptr) << day;
        EXPECT_EQ(shown->lines, lines) << day;
        EXPECT_EQ(shown->more, 0);
    }
    for (const int day : {5, 30}) {
        EXPECT_EQ(calendar.On(2026, 11, day), nullptr) << day;
    }
    EXPECT_EQ(calendar.On(2026, 10, 30), nullptr);
    EXPECT_EQ(calendar.On(2027, 0, 1), nullptr);

    EventList flood;
    flood.titles = {"Ping"};
    flood.occurrences.assign(kMostEventLinesPerDay + 7, {Dec(9), Dec(9), 12 * 60, 0});
    const EventCalendar flooded = ArrangeEvents(flood, kDecember, TwentyFourHourTime);
    const DayEvents* ninth = flooded.On(2026, 11, 9);
    ASSERT_NE(ninth, nullptr);
    EXPECT_EQ(ninth->lines.size(), kMostEventLinesPerDay);
    EXPECT_EQ(ninth->more, 7);
}

// A title from a file becomes one clean line of text, whatever bytes it holds.
TEST(Events, TitlesBecomeOneLineOfText) {
    const std::pair<std::string, std::string> cases[] = {
        {"Dentist", "Dentist"},
        {"  Two\r\nlines\tand\x01 more  ", "Two lines and more"},
        {"C1\xC2\x85"
         "control and NBSP\xC2\xA0here",
         "C1 control and NBSP here"},
        {"Broken \xE2\x82 UTF-8 \xFF", "Broken \xEF\xBF\xBD\xEF\xBF\xBD UTF-8 \xEF\xBF\xBD"},
        {"Line\xE2\x80\xA8separator", "Line separator"},
        {"\xD0\x94\xD0\xB5\xD0\xBD\xD1\x8C", "\xD0\x94\xD0\xB5\xD0\xBD\xD1\x8C"},
        {"", "(no title)"},
        {" \r\n\t", "(no title)"},
        {std::string(300, 'x'), std::string(kMostTitleCharacters - 1, 'x') + "\xE2\x80\xA6"},
    };
    for (const auto& [title, line] : cases) {
        EXPECT_EQ(EventLineTitle(title), line) << title;
    }
}

}  // namespace
}  // namespace tessaly
