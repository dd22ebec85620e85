#pragma once

#include <map>
#include <string>
#include <vector>

#include "calendar/month_grid.h"

namespace tessaly {

// How a locale lays out its calendars, as its own data says (tessaly-cli --regional):
// read before a calendar is composed, and used only where the request names nothing else.
struct CalendarConventions {
    int firstWeekday = kSunday;  // 0 Sunday .. 6 Saturday
    Weekdays weekend = kSaturdayAndSunday;
    // The locale writes right to left: its grid is mirrored.
    bool rightToLeft = false;
    // Its ten digits, zero first, in UTF-8, where it writes numbers in others than ASCII's;
    // else empty.
    std::vector<std::string> digits;
    // The title of each month asked for in the locale's year-and-month form ("2026年12月",
    // "декабрь 2026 г."), by MonthKey.
    std::map<int, std::string> titles;
};

inline int MonthKey(int year, int monthIndex) {
    return year * 12 + monthIndex;
}

// `number` (0 or more) in `digits` (ten, zero first), or in ASCII digits without ten.
std::string NumeralOf(int number, const std::vector<std::string>& digits);

}  // namespace tessaly
