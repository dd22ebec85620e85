#include "core/locale_names.h"

namespace tessaly {

const std::array<const char*, 7> kEnglishDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};

const std::array<const char*, 12> kEnglishMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

const std::array<const char*, 7> kEnglishShortDayNames = {"Sun", "Mon", "Tue", "Wed",
                                                          "Thu", "Fri", "Sat"};

LocaleNames WithEnglishFallback(LocaleNames names) {
    for (size_t k = 0; k < names.days.size(); ++k) {
        if (names.days[k].empty()) {
            names.days[k] = kEnglishDayNames[k];
        }
    }
    for (size_t k = 0; k < names.months.size(); ++k) {
        if (names.months[k].empty()) {
            names.months[k] = kEnglishMonthNames[k];
        }
    }
    for (size_t k = 0; k < names.shortDays.size(); ++k) {
        if (names.shortDays[k].empty()) {
            names.shortDays[k] = kEnglishShortDayNames[k];
        }
    }
    return names;
}

}  // namespace tessaly
