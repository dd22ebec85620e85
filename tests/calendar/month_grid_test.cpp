#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <ctime>

#include "calendar/month_grid.h"

namespace tessaly {
namespace {

struct CellCase {
    int monthIndex;
    int year;
    int weekStart;
    int position;
    const char* text;
};

void PrintTo(const CellCase& c, std::ostream* os) {
    *os << c.year << "-" << c.monthIndex + 1 << " start " << c.weekStart << " cell " << c.position;
}

class MonthGridCells : public ::testing::TestWithParam<CellCase> {};

TEST_P(MonthGridCells, GivesTheDayNumberOrNothing) {
    const CellCase& c = GetParam();
    CalendarRequest request;
    request.monthIndex = c.monthIndex;
    request.year = c.year;
    request.weekStart = c.weekStart;
    EXPECT_EQ(CellText(request, c.position), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    KnownMonths, MonthGridCells,
    ::testing::Values(
        // 1 January 2000 was a Saturday.
        CellCase{0, 2000, 0, 5, ""}, CellCase{0, 2000, 0, 6, "1"}, CellCase{0, 2000, 0, 36, "31"},
        CellCase{0, 2000, 0, 37, ""}, CellCase{0, 2000, 0, 1, ""}, CellCase{0, 2000, 1, 6, ""},
        CellCase{0, 2000, 1, 7, "1"}, CellCase{0, 2000, 1, 37, "31"},
        // February 2021 began on a Monday and fills four rows exactly.
        CellCase{1, 2021, 0, 1, "1"}, CellCase{1, 2021, 0, 28, "28"}, CellCase{1, 2021, 0, 29, ""},
        CellCase{1, 2021, 0, 42, ""},
        // February 2026 begins on a Sunday.
        CellCase{1, 2026, 1, 1, "1"}, CellCase{1, 2026, 1, 28, "28"},
        // March 2015 began on a Sunday: last column, and the 31st in the sixth row.
        CellCase{2, 2015, 0, 7, "1"}, CellCase{2, 2015, 0, 37, "31"},
        // Leap years, century rule included.
        // (1 Feb 2000 a Tuesday, 1 Feb 1900 a Thursday, 1 Feb 2100 a Monday.)
        CellCase{1, 2000, 1, 31, "29"}, CellCase{1, 2000, 1, 32, ""},
        CellCase{1, 1900, 0, 31, "28"}, CellCase{1, 1900, 0, 32, ""},
        CellCase{1, 2100, 0, 28, "28"}, CellCase{1, 2100, 0, 29, ""},
        // December 2100 is measured against 1 January 2101.
        // (1 Dec 2100 is a Wednesday.)
        CellCase{11, 2100, 1, 34, "31"}, CellCase{11, 2100, 1, 35, ""},
        // 1 January 1900 was a Monday.
        CellCase{0, 1900, 0, 1, "1"}, CellCase{0, 1900, 1, 1, ""}, CellCase{0, 1900, 1, 2, "1"},
        // Outside the grid.
        CellCase{0, 2000, 1, 0, ""}, CellCase{0, 2000, 1, -7, ""}, CellCase{4, 2000, 1, 43, ""},
        // No selection (-1) and stray indexes read as Sunday, like the names row.
        CellCase{0, 2000, -1, 7, "1"}, CellCase{0, 2000, 5, 7, "1"}),
    [](const auto& info) {
        const CellCase& c = info.param;
        return std::to_string(c.year) + "_" + std::to_string(c.monthIndex + 1) + "_start" +
               (c.weekStart < 0 ? "None" : std::to_string(c.weekStart)) + "_cell" +
               (c.position < 0 ? "Minus" + std::to_string(-c.position)
                               : std::to_string(c.position));
    });

// An independent Gregorian computation: Sakamoto's weekday formula and the leap rule.
int WeekdayOfFirst(int year, int month) {  // 0 = Sunday
    static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = month < 3 ? year - 1 : year;
    return (y + y / 4 - y / 100 + y / 400 + kOffsets[month - 1] + 1) % 7;
}

int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Every month of the range, both week starts.
TEST(MonthGrid, AgreesWithAnIndependentComputationForEveryMonth) {
    for (int year = 1900; year <= 2100; ++year) {
        for (int monthIndex = 0; monthIndex < 12; ++monthIndex) {
            const int length = DaysIn(year, monthIndex + 1);
            const int weekday = WeekdayOfFirst(year, monthIndex + 1);
            for (int weekStart : {0, 1}) {
                const int firstColumn = weekStart == 1 ? weekday + 1 : (weekday + 6) % 7 + 1;
                CalendarRequest request{monthIndex, year, weekStart};
                for (int position = 1; position <= 42; ++position) {
                    const int day = position - firstColumn + 1;
                    const std::string expected =
                        day >= 1 && day <= length ? std::to_string(day) : std::string();
                    ASSERT_EQ(CellText(request, position), expected)
                        << year << "-" << monthIndex + 1 << " week start " << weekStart
                        << " position " << position;
                }
            }
        }
    }
}

// Every row of every month in both layouts against the C library's ISO week (%V) of the
// row's Monday, found by a day count of its own; a row without a day has no week.
TEST(MonthGrid, IsoWeekOfEveryRowAgreesWithTheCLibrary) {
#ifdef _WIN32
    GTEST_SKIP() << "timegm and %V are the GNU C library's";
#else
    for (int year = 1900; year <= 2100; ++year) {
        for (int monthIndex = 0; monthIndex < 12; ++monthIndex) {
            const int weekday = WeekdayOfFirst(year, monthIndex + 1);
            for (int weekStart : {0, 1}) {
                const int firstColumn = weekStart == 1 ? weekday + 1 : (weekday + 6) % 7 + 1;
                const CalendarRequest request{monthIndex, year, weekStart};
                for (int row = 0; row < 6; ++row) {
                    std::tm monday{};
                    monday.tm_year = year - 1900;
                    monday.tm_mon = monthIndex;
                    monday.tm_mday = 1 + 7 * row - (firstColumn - 1) + weekStart;
                    ::timegm(&monday);  // brings the day into its month and year
                    char week[8] = {};
                    std::strftime(week, sizeof week, "%V", &monday);
                    const bool hasDay = 7 * row + 7 >= firstColumn &&
                                        7 * row + 1 < firstColumn + DaysIn(year, monthIndex + 1);
                    ASSERT_EQ(IsoWeekOfRow(request, row), hasDay ? std::atoi(week) : 0)
                        << year << "-" << monthIndex + 1 << " week start " << weekStart << " row "
                        << row;
                }
            }
        }
    }
#endif
    // 2020 and 2026 have 53 weeks; these rows cross a year's end (month index, year,
    // week start, row, week).
    const std::array<int, 5> acrossYearEnds[] = {
        {11, 2026, 0, 4, 53},  // Mon 28 Dec 2026 to Sun 3 Jan 2027
        {0, 2027, 0, 0, 53},   // the same week, seen from January
        {11, 2020, 0, 4, 53},  // Mon 28 Dec 2020 to Sun 3 Jan 2021
        {0, 2021, 1, 0, 53},   // Sun 27 Dec 2020: its row's Monday is the 28th
        {11, 2024, 1, 4, 1},   // Sun 29 Dec 2024: Monday the 30th is in 2025's week 1
    };
    for (const auto& [monthIndex, year, weekStart, row, week] : acrossYearEnds) {
        EXPECT_EQ(IsoWeekOfRow({monthIndex, year, weekStart}, row), week) << year << " " << row;
    }
}

TEST(MonthGrid, ColumnsAndWeekendsFollowTheLayout) {
    const int mondaySlots[] = {1, 2, 3, 4, 5, 6, 0};
    for (int column = 1; column <= 7; ++column) {
        EXPECT_EQ(DaySlotOfColumn(WeekLayout::Monday, column), mondaySlots[column - 1]);
        EXPECT_EQ(DaySlotOfColumn(WeekLayout::Sunday, column), column - 1);
        EXPECT_EQ(IsWeekendColumn(WeekLayout::Monday, column), column >= 6);
        EXPECT_EQ(IsWeekendColumn(WeekLayout::Sunday, column), column == 1 || column == 7);
    }
    EXPECT_EQ(LayoutOf(0), WeekLayout::Monday);
    for (int other : {1, -1, 2, 5}) {
        EXPECT_EQ(LayoutOf(other), WeekLayout::Sunday);
    }
}

}  // namespace
}  // namespace tessaly
