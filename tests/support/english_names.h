#pragma once

#include <string>

#include "calendar/names.h"

namespace tessaly::test {

// The built-in English day and month names; `weekendColor` in its slot where given.
inline NameTable EnglishNames(const std::string& weekendColor = "") {
    NameTable names;
    FillDayNames(names, false, {});
    FillMonthNames(names, false, {});
    if (!weekendColor.empty()) {
        names[kWeekendColorSlot] = weekendColor;
    }
    return names;
}

}  // namespace tessaly::test
