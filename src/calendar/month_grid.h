#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// The years a calendar can be made for.
inline constexpr int kFirstYear = 1900;
inline constexpr int kLastYear = 2100;

constexpr int ClampedYear(long long year) {
    return static_cast<int>(std::clamp<long long>(year, kFirstYear, kLastYear));
}

// Days of the week are numbered from Sunday, as the names are: 0 Sunday .. 6 Saturday.
inline constexpr int kSunday = 0;
inline constexpr int kMonday = 1;

// A set of days of the week, element d for day d.
using Weekdays = std::array<bool, 7>;
inline constexpr Weekdays kSaturdayAndSunday = {true, false, false, false, false, false, true};

// The PDF's page: the window's Letter, or A4 from tessaly-cli.
enum class Paper { Letter, A4 };

// The most months one file holds.
inline constexpr int kMostMonths = 24;

// A page a month, or twelve months on one page.
enum class Layout { Month, Year };
inline constexpr int kMonthsOfYearPage = 12;

// The user's choices for one calendar, read from the window at generation time.
struct CalendarRequest {
    int monthIndex = 0;  // 0 = January
    int year = 2000;
    int weekStart = 1;  // 0 = Monday, 1 = Sunday, -1 while nothing is selected
    bool colorWeekends = false;
    bool localizedNames = false;
    bool pdf = false;
    // tessaly-cli's choices; the window keeps these values, which give its one-month files.
    Paper paper = Paper::Letter;
    int months = 1;  // consecutive months from monthIndex/year, 1..kMostMonths
    bool weekNumbers = false;
    // A year page holds kMonthsOfYearPage months from monthIndex/year, whatever `months`.
    Layout layout = Layout::Month;
    // Each day shows its day of the year and the days left in it.
    bool dayOfYear = false;
    // tessaly-cli's week when named (--week-start, --weekend, or the locale's with
    // --regional): its first day (0 Sunday .. 6 Saturday), which wins over weekStart, and
    // its weekend, which wins over Saturday and Sunday.
    std::optional<int> firstWeekday = std::nullopt;
    std::optional<Weekdays> weekend = std::nullopt;
};

// One request per month of `request`'s range (twelve for a year page), in order, each
// for a single month.
std::vector<CalendarRequest> MonthsOf(const CalendarRequest& request);

// The one reading of a request's week, for the grid, the names row, the weekend columns
// and the week numbers alike: the first day it names, else its week-start index, where
// 0 is Monday and every other value (1, or -1 for no selection, or a stray stored
// number) is Sunday, the stored default.
int FirstWeekdayOf(const CalendarRequest& request);

// The weekend it names, else Saturday and Sunday.
Weekdays WeekendOf(const CalendarRequest& request);

// Column (1..7) in which the 1st of the month stands in weeks from `firstWeekday`.
int FirstColumn(int monthIndex, int year, int firstWeekday);

// The day of the week (0 = Sunday, a NameTable day slot) shown in column 1..7.
int WeekdayOfColumn(int firstWeekday, int column);

// Days in the month, measured to the 1st of the next month.
int MonthLength(int monthIndex, int year);

// Day of the month in cell position row * 7 + column (1..42), 0 outside the month.
int DayOfCell(const CalendarRequest& request, int position);
// The same for every position at once: DaysOfCells(request)[position - 1].
std::array<int, 42> DaysOfCells(const CalendarRequest& request);

// The same as text, "" outside the month.
std::string CellText(const CalendarRequest& request, int position);

bool IsWeekendColumn(const CalendarRequest& request, int column);

// Day `day` of the month as the day of its year (1..366), and the days of that year.
int DayOfYear(int monthIndex, int year, int day);
int DaysInYear(int year);

// ISO 8601 week number (1..53) of grid row 0..5: the week that holds most of the row's
// days, its Thursday's, which for weeks from Saturday, Sunday or Monday is its Monday's.
// 0 for a row without a day of the month.
int IsoWeekOfRow(const CalendarRequest& request, int row);

}  // namespace tessaly
