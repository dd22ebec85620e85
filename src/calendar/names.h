#pragma once

#include <array>
#include <string>

namespace tessaly {

inline constexpr int kFirstMonthSlot = 7;
inline constexpr int kWeekendColorSlot = 19;
inline constexpr const char* kDefaultWeekendColor = "c0c0c0";

// Slots 0-6 day names (Sunday first), 7-18 month names, 19 the weekend colour.
using NameTable = std::array<std::string, 20>;

extern const std::array<const char*, 7> kEnglishDayNames;
extern const std::array<const char*, 12> kEnglishMonthNames;

// The user's locale names in the platform's 8-bit encoding, Sunday and January first.
struct LocaleNames {
    std::array<std::string, 7> days;
    std::array<std::string, 12> months;
};

// An entry the locale left empty takes the English name of the same day or month.
LocaleNames WithEnglishFallback(LocaleNames names);

// Slots 0-6: locale day names as given, or English.
void FillDayNames(NameTable& table, bool localized, const LocaleNames& locale);

// Slots 7-18: locale month names with an ASCII lower-case first letter raised (in the
// slot's copy only), or English.
void FillMonthNames(NameTable& table, bool localized, const LocaleNames& locale);

}  // namespace tessaly
