#include <langinfo.h>
#include <locale.h>

#include "platform/locale_names.h"

namespace tessaly {

LocaleNames ReadUserLocaleNames() {
    LocaleNames names;
    // A locale object of its own, so the process locale (and number formatting) stays "C".
    locale_t userTime = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (userTime == static_cast<locale_t>(nullptr)) {
        return WithEnglishFallback(names);
    }
    static constexpr nl_item kDays[7] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
#ifdef ALTMON_1
    // Stand-alone (nominative) month names: "styczeń", not "stycznia".
    static constexpr nl_item kMonths[12] = {ALTMON_1, ALTMON_2,  ALTMON_3,  ALTMON_4,
                                            ALTMON_5, ALTMON_6,  ALTMON_7,  ALTMON_8,
                                            ALTMON_9, ALTMON_10, ALTMON_11, ALTMON_12};
#else
    static constexpr nl_item kMonths[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                            MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
#endif
    for (size_t k = 0; k < 7; ++k) {
        const char* name = ::nl_langinfo_l(kDays[k], userTime);
        names.days[k] = name != nullptr ? name : "";
    }
    for (size_t k = 0; k < 12; ++k) {
        const char* name = ::nl_langinfo_l(kMonths[k], userTime);
        names.months[k] = name != nullptr ? name : "";
    }
    ::freelocale(userTime);
    return WithEnglishFallback(names);
}

// Linux desktops run in UTF-8 locales.
LocaleNames ReadUserLocaleNamesUtf8() {
    return ReadUserLocaleNames();
}

char UserDecimalSeparator() {
    // A locale object of its own: the process keeps the "C" numbers that files need.
    locale_t numeric = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (numeric == static_cast<locale_t>(nullptr)) {
        return '.';
    }
    const char* radix = ::nl_langinfo_l(RADIXCHAR, numeric);
    // A separator of more than one byte cannot be typed as one character.
    const char separator =
        radix != nullptr && radix[0] != '\0' && radix[1] == '\0' ? radix[0] : '.';
    ::freelocale(numeric);
    return separator;
}

}  // namespace tessaly
