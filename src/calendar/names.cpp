#include "calendar/names.h"

namespace tessaly {

const std::array<const char*, 7> kEnglishDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};

const std::array<const char*, 12> kEnglishMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

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
    return names;
}

void FillDayNames(NameTable& table, bool localized, const LocaleNames& locale) {
    for (size_t k = 0; k < 7; ++k) {
        table[k] = localized ? locale.days[k] : kEnglishDayNames[k];
    }
}

void FillMonthNames(NameTable& table, bool localized, const LocaleNames& locale) {
    for (size_t k = 0; k < 12; ++k) {
        std::string& slot = table[kFirstMonthSlot + k];
        if (!localized) {
            slot = kEnglishMonthNames[k];
            continue;
        }
        slot = locale.months[k];
        // Only a plain ASCII letter: a byte of a multi-byte or non-Latin name is kept.
        if (!slot.empty() && slot[0] >= 'a' && slot[0] <= 'z') {
            slot[0] = static_cast<char>(slot[0] - 'a' + 'A');
        }
    }
}

}  // namespace tessaly
