#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// What a Windows year-and-month format picture (LOCALE_SYEARMONTH) is filled with.
struct YearMonthWords {
    int year = 2000;
    int month = 1;                    // 1..12
    std::string monthName;            // MMMM
    std::string abbreviatedMonth;     // MMM
    std::vector<std::string> digits;  // ten, zero first, for the numbers; empty for ASCII's
};

// The picture ("MMMM yyyy", "yyyy'年'M'月'", UTF-8) filled in as GetDateFormat fills it,
// but always with the Gregorian year and month whatever calendar the locale prefers:
// M, MM, MMM, MMMM the month; y, yy the year's last two digits, yyy and more the whole
// year; text in single quotes as it stands ('' a quote); a day (d) or an era (g) is left
// out, with the blanks and commas that only lead up to it.
std::string FillYearMonthPicture(std::string_view picture, const YearMonthWords& words);

}  // namespace tessaly
