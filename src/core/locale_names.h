#pragma once

#include <array>
#include <string>

namespace tessaly {

// The full day and month names of a locale, in UTF-8, Sunday and January first, and its
// shortest day names ("Sun", "So", "日").
struct LocaleNames {
    std::array<std::string, 7> days;
    std::array<std::string, 12> months;
    std::array<std::string, 7> shortDays;
    // Windows: the ANSI code page in which 8-bit text of this locale is written (0 for the
    // process's own), as a page that declares no encoding carries the names.
    unsigned codePage = 0;
};

extern const std::array<const char*, 7> kEnglishDayNames;
extern const std::array<const char*, 12> kEnglishMonthNames;
extern const std::array<const char*, 7> kEnglishShortDayNames;

// An entry the locale left empty takes the English name of the same day or month.
LocaleNames WithEnglishFallback(LocaleNames names);

}  // namespace tessaly
