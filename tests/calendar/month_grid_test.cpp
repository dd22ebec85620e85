#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>

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

// Every month of the range, weeks from each day of the week, and the two stored
// week-start indexes.
TEST(MonthGrid, AgreesWithAnIndependentComputationForEveryMonth) {
    for (int year = 1900; year <= 2100; ++year) {
        for (int monthIndex = 0; monthIndex < 12; ++monthIndex) {
            const int length = DaysIn(year, monthIndex + 1);
            const int weekday = WeekdayOfFirst(year, monthIndex + 1);
            for (int start = -2; start < 7; ++start) {
                // -2 and -1: the stored indexes 0 (Monday) and 1 (Sunday).
                CalendarRequest request{monthIndex, year, start == -2 ? 0 : 1};
                const int firstWeekday = start == -2 ? 1 : start == -1 ? 0 : start;
                if (start >= 0) {
                    request.firstWeekday = start;
                }
                const int firstColumn = (weekday - firstWeekday + 7) % 7 + 1;
                for (int position = 1; position <= 42; ++position) {
                    const int day = position - firstColumn + 1;
                    const std::string expected =
                        day >= 1 && day <= length ? std::to_string(day) : std::string();
                    ASSERT_EQ(CellText(request, position), expected)
                        << year << "-" << monthIndex + 1 << " first weekday " << firstWeekday
                        << " position " << position;
                }
            }
        }
    }
}

// Every row of every month, weeks from each day of the week, against the C library's ISO
// weeks (%V) of the row's seven days: the row's week is the one most of them are in. A
// row without a day of the month has none.
TEST(MonthGrid, IsoWeekOfEveryRowAgreesWithTheCLibrary) {
#ifdef _WIN32
    GTEST_SKIP() << "timegm and %V are the GNU C library's";
#else
    for (int year = 1900; year <= 2100; ++year) {
        for (int monthIndex = 0; monthIndex < 12; ++monthIndex) {
            const int weekday = WeekdayOfFirst(year, monthIndex + 1);
            for (int firstWeekday = 0; firstWeekday < 7; ++firstWeekday) {
                const int firstColumn = (weekday - firstWeekday + 7) % 7 + 1;
                CalendarRequest request{monthIndex, year, 1};
                request.firstWeekday = firstWeekday;
                for (int row = 0; row < 6; ++row) {
                    std::map<int, int> days;  // by ISO week
                    for (int column = 1; column <= 7; ++column) {
                        std::tm day{};
                        day.tm_year = year - 1900;
                        day.tm_mon = monthIndex;
                        day.tm_mday = 1 + 7 * row + column - firstColumn;
                        ::timegm(&day);  // brings the day into its month and year
                        char week[8] = {};
                        std::strftime(week, sizeof week, "%V", &day);
                        ++days[std::atoi(week)];
                    }
                    const auto most = std::max_element(
                        days.begin(), days.end(),
                        [](const auto& a, const auto& b) { return a.second < b.second; });
                    const bool hasDay = 7 * row + 7 >= firstColumn &&
                                        7 * row + 1 < firstColumn + DaysIn(year, monthIndex + 1);
                    ASSERT_EQ(IsoWeekOfRow(request, row), hasDay ? most->first : 0)
                        << year << "-" << monthIndex + 1 << " first weekday " << firstWeekday
                        << " row " << row;
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

// Columns and weekends from the stored index, or from the week and weekend a request
// names: the day of each column (Sunday 0) and which are the weekend.
TEST(MonthGrid, ColumnsAndWeekendsFollowTheWeek) {
    struct Case {
        int weekStart;
        std::optional<int> firstWeekday;
        std::optional<Weekdays> weekend;
        std::array<int, 7> weekdays;
        const char* weekendColumns;
    };
    const Weekdays fridayAndSaturday{false, false, false, false, false, true, true};
    const Weekdays friday{false, false, false, false, false, true, false};
    const Case cases[] = {
        {0, {}, {}, {1, 2, 3, 4, 5, 6, 0}, "0000011"},
        {1, {}, {}, {0, 1, 2, 3, 4, 5, 6}, "1000001"},
        // No selection and stray stored numbers are Sunday.
        {-1, {}, {}, {0, 1, 2, 3, 4, 5, 6}, "1000001"},
        {2, {}, {}, {0, 1, 2, 3, 4, 5, 6}, "1000001"},
        {5, {}, {}, {0, 1, 2, 3, 4, 5, 6}, "1000001"},
        // A day named wins over the stored index.
        {0, 0, {}, {0, 1, 2, 3, 4, 5, 6}, "1000001"},
        {1, 1, {}, {1, 2, 3, 4, 5, 6, 0}, "0000011"},
        {1, 6, fridayAndSaturday, {6, 0, 1, 2, 3, 4, 5}, "1000001"},
        {1, 0, fridayAndSaturday, {0, 1, 2, 3, 4, 5, 6}, "0000011"},
        {1, 6, friday, {6, 0, 1, 2, 3, 4, 5}, "0000001"},
        {0, 3, {}, {3, 4, 5, 6, 0, 1, 2}, "0001100"},
    };
    for (const Case& c : cases) {
        CalendarRequest request{0, 2027, c.weekStart};
        request.firstWeekday = c.firstWeekday;
        request.weekend = c.weekend;
        std::string weekendColumns;
        for (int column = 1; column <= 7; ++column) {
            EXPECT_EQ(WeekdayOfColumn(FirstWeekdayOf(request), column), c.weekdays[column - 1])
                << c.weekStart << " column " << column;
            weekendColumns += IsWeekendColumn(request, column) ? '1' : '0';
        }
        EXPECT_EQ(weekendColumns, c.weekendColumns) << c.weekStart;
    }
}

}  // namespace
}  // namespace tessaly
