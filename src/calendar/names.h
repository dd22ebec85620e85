#pragma once

#include <array>
#include <string>

#include "core/locale_names.h"

namespace tessaly {

inline constexpr int kFirstMonthSlot = 7;
inline constexpr int kWeekendColorSlot = 19;
inline constexpr int kFirstShortDaySlot = 20;
inline constexpr const char* kDefaultWeekendColor = "c0c0c0";

// Slots 0-6 day names (Sunday first), 7-18 month names, 19 the weekend colour, 20-26 the
// shortest day names (Sunday first); UTF-8.
using NameTable = std::array<std::string, 27>;

// Slots 0-6 and 20-26: locale day names as given, or English.
void FillDayNames(NameTable& table, bool localized, const LocaleNames& locale);

// Slots 7-18: locale month names with an ASCII lower-case first letter raised (in the
// slot's copy only), or English.
void FillMonthNames(NameTable& table, bool localized, const LocaleNames& locale);

}  // namespace tessaly
