#include <gtest/gtest.h>

#include "calendar/names.h"
#include "document/calendar_document.h"

namespace tessaly {
namespace {

NameTable Names(const LocaleNames& locale, bool localized) {
    NameTable names;
    FillDayNames(names, localized, locale);
    FillMonthNames(names, localized, locale);
    return names;
}

void ExpectSameMonth(const MonthPage& a, const MonthPage& b) {
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.weekNumbers, b.weekNumbers);
    for (std::size_t c = 0; c < 7; ++c) {
        EXPECT_EQ(a.columns[c].weekday, b.columns[c].weekday);
        EXPECT_EQ(a.columns[c].weekend, b.columns[c].weekend);
        EXPECT_EQ(a.columns[c].initials, b.columns[c].initials);
    }
    for (std::size_t k = 0; k < 42; ++k) {
        EXPECT_EQ(a.cells[k].text, b.cells[k].text) << k;
        EXPECT_EQ(a.cells[k].weekend, b.cells[k].weekend) << k;
        EXPECT_EQ(a.cells[k].dayOfYear, b.cells[k].dayOfYear) << k;
    }
}

// A year page is twelve month pages composed by the month page's own rules (grid, week
// start, weekends, ISO weeks, names), under its year or the two years it spans.
TEST(YearPage, HoldsTwelveMonthsComposedAsTheMonthPages) {
    struct Case {
        int monthIndex, year, weekStart;
        bool weekNumbers;
        const char* title;
        const char* firstName;
        const char* lastName;
    };
    const Case cases[] = {
        {0, 2027, 1, false, "2027", "January", "December"},
        {8, 2026, 0, true,
         "2026\xE2\x80\x93"
         "2027",
         "September", "August"},
        {11, 2099, 1, true,
         "2099\xE2\x80\x93"
         "2100",
         "December", "November"},
        {0, 1900, 0, true, "1900", "January", "December"},
    };
    const NameTable names = Names({}, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        CalendarRequest request{c.monthIndex, c.year, c.weekStart};
        request.weekNumbers = c.weekNumbers;
        request.colorWeekends = true;
        request.layout = Layout::Year;
        request.months = 3;  // a year page is twelve months whatever this says
        const CalendarDocument document = ComposeCalendar(request, names, nullptr);
        ASSERT_TRUE(document.year.has_value());
        EXPECT_TRUE(document.pages.empty());
        EXPECT_EQ(document.title, c.title);
        EXPECT_EQ(document.year->title, c.title);
        EXPECT_EQ(document.year->months.front().name, c.firstName);
        EXPECT_EQ(document.year->months.back().name, c.lastName);

        CalendarRequest range = request;
        range.layout = Layout::Month;
        range.months = 12;
        const CalendarDocument pages = ComposeCalendar(range, names, nullptr);
        ASSERT_EQ(pages.pages.size(), 12u);
        for (std::size_t k = 0; k < 12; ++k) {
            ExpectSameMonth(document.year->months[k], pages.pages[k]);
        }
    }
}

// Initials are the shortest day names cut to two terminal columns, whole characters
// only, a mark kept with its letter.
TEST(YearPage, InitialsAreShortNamesCutToTwoColumns) {
    struct Case {
        const char* shortSunday;
        std::vector<std::pair<char32_t, int>> widths;
        const char* initials;
    };
    const Case cases[] = {
        {"Sun", {}, "Su"},
        {"So", {}, "So"},
        {"dim.", {}, "di"},
        {"\xE6\x97\xA5", {{U'\u65E5', 2}}, "\xE6\x97\xA5"},  // 日, two columns
        {"\xE6\x97\xA5\xE6\x9B\x9C", {{U'\u65E5', 2}, {U'\u66DC', 2}}, "\xE6\x97\xA5"},
        {"\xCE\x9A\xCF\x85\xCF\x81", {}, "\xCE\x9A\xCF\x85"},  // Κυρ
        {"\xD8\xAD", {}, "\xD8\xAD"},                          // ح
        {"e\xCC\x81"
         "ab",
         {{U'\u0301', 0}},
         "e\xCC\x81"
         "a"},  // a mark stays
        {"\xEF\xBC\xA1"
         "b",
         {{U'\uFF21', 2}},
         "\xEF\xBC\xA1"},  // no half of Ａ
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shortSunday);
        LocaleNames locale = WithEnglishFallback({});
        locale.shortDays[0] = c.shortSunday;
        std::u32string characters;
        std::vector<int> columns;
        for (const auto& [character, width] : c.widths) {
            characters += character;
            columns.push_back(width);
        }
        CalendarRequest request{0, 2027, 1};
        request.layout = Layout::Year;
        const CalendarDocument document = ComposeCalendar(request, Names(locale, true), nullptr,
                                                          DisplayColumns(characters, columns));
        EXPECT_EQ(document.year->months[5].columns[0].initials, c.initials);
        EXPECT_EQ(document.shortDayNames[0], c.shortSunday);
    }
}

// "123/242": the day's place in its year and the days after it.
TEST(DayOfYear, EachDayKnowsItsPlaceInTheYear) {
    struct Case {
        int monthIndex, year, day, dayOfYear, daysLeft;
    };
    const Case cases[] = {
        {4, 2027, 3, 123, 242}, {0, 2027, 1, 1, 364},   {11, 2027, 31, 365, 0},
        {11, 2024, 31, 366, 0}, {2, 2000, 1, 61, 305},  {2, 1900, 1, 60, 305},
        {1, 2100, 28, 59, 306}, {11, 2100, 31, 365, 0}, {1, 2000, 29, 60, 306},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.monthIndex + 1) + "-" +
                     std::to_string(c.day));
        const CalendarDocument document =
            ComposeCalendar({c.monthIndex, c.year, 0}, Names({}, false), nullptr);
        const auto& cells = document.pages.front().cells;
        const auto cell = std::find_if(cells.begin(), cells.end(),
                                       [&](const DayCell& x) { return x.day == c.day; });
        ASSERT_NE(cell, cells.end());
        EXPECT_EQ(cell->dayOfYear, c.dayOfYear);
        EXPECT_EQ(cell->daysLeft, c.daysLeft);
        EXPECT_EQ(std::count_if(cells.begin(), cells.end(),
                                [](const DayCell& x) { return x.day == 0 && x.dayOfYear != 0; }),
                  0);
    }
}

}  // namespace
}  // namespace tessaly
