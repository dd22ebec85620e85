#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace tessaly {

// The years a calendar can be made for.
inline constexpr int kFirstYear = 1900;
inline constexpr int kLastYear = 2100;

constexpr int ClampedYear(long long year) {
    return static_cast<int>(std::clamp<long long>(year, kFirstYear, kLastYear));
}

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
};

// One request per month of `request`'s range (twelve for a year page), in order, each
// for a single month.
std::vector<CalendarRequest> MonthsOf(const CalendarRequest& request);

enum class WeekLayout { Monday, Sunday };

// One reading of the week-start index for the grid, the names row and the weekend
// columns alike: 0 is Monday, every other value (1, or -1 for no selection, or a stray
// stored number) is Sunday, the stored default.
WeekLayout LayoutOf(int weekStart);

// Column (1..7) in which the 1st of the month stands.
int FirstColumn(int monthIndex, int year, WeekLayout layout);

// Days in the month, measured to the 1st of the next month.
int MonthLength(int monthIndex, int year);

// Day number for cell position row * 7 + column (1..42), or "" outside the month.
std::string CellText(const CalendarRequest& request, int position);

// NameTable day slot (0 = Sunday) shown above column 1..7.
int DaySlotOfColumn(WeekLayout layout, int column);

bool IsWeekendColumn(WeekLayout layout, int column);

// Day `day` of the month as the day of its year (1..366), and the days of that year.
int DayOfYear(int monthIndex, int year, int day);
int DaysInYear(int year);

// ISO 8601 week number (1..53) of grid row 0..5: the week of the row's Monday, which in
// the Sunday layout is the row's second day. 0 for a row without a day of the month.
int IsoWeekOfRow(const CalendarRequest& request, int row);

}  // namespace tessaly
