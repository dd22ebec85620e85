#pragma once

#include <algorithm>
#include <string>

namespace tessaly {

// The years a calendar can be made for.
inline constexpr int kFirstYear = 1900;
inline constexpr int kLastYear = 2100;

constexpr int ClampedYear(long long year) {
    return static_cast<int>(std::clamp<long long>(year, kFirstYear, kLastYear));
}

// The user's choices for one calendar, read from the window at generation time.
struct CalendarRequest {
    int monthIndex = 0;  // 0 = January
    int year = 2000;
    int weekStart = 1;  // 0 = Monday, 1 = Sunday, -1 while nothing is selected
    bool colorWeekends = false;
    bool localizedNames = false;
    bool pdf = false;
};

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

}  // namespace tessaly
