#include "calendar/names.h"

namespace tessaly {

void FillDayNames(NameTable& table, bool localized, const LocaleNames& locale) {
    for (size_t k = 0; k < 7; ++k) {
        table[k] = localized ? locale.days[k] : kEnglishDayNames[k];
        table[kFirstShortDaySlot + k] = localized ? locale.shortDays[k] : kEnglishShortDayNames[k];
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
