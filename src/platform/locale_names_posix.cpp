#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <type_traits>
#include <utility>

#include "core/int_text.h"
#include "platform/locale_info_posix.h"
#include "platform/locale_names.h"

namespace tessaly {

namespace {

// The names of a locale object's LC_TIME.
LocaleNames NamesOf(locale_t time) {
    LocaleNames names;
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
    static constexpr nl_item kShortDays[7] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4,
                                              ABDAY_5, ABDAY_6, ABDAY_7};
    for (size_t k = 0; k < 7; ++k) {
        const char* name = LocaleInfo(time, kDays[k]);
        names.days[k] = name != nullptr ? name : "";
        const char* shortName = LocaleInfo(time, kShortDays[k]);
        names.shortDays[k] = shortName != nullptr ? shortName : "";
    }
    for (size_t k = 0; k < 12; ++k) {
        const char* name = LocaleInfo(time, kMonths[k]);
        names.months[k] = name != nullptr ? name : "";
    }
    return WithEnglishFallback(names);
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsUtf8Codeset(locale_t locale) {
    const char* codeset = LocaleInfo(locale, CODESET);
    return codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
}

// A name in the locale's own 8-bit encoding, in UTF-8; nothing when it cannot be read.
std::optional<std::string> InUtf8(const std::string& text, const char* codeset) {
    const iconv_t convert = ::iconv_open("UTF-8", codeset);
    if (convert == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input = text;
    std::string output(4 * text.size() + 4, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const bool done =
        ::iconv(convert, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    ::iconv_close(convert);
    if (!done) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

// The names of a locale that writes another encoding than UTF-8, in UTF-8; English where
// they cannot be converted.
LocaleNames InUtf8(LocaleNames names, locale_t locale) {
    const char* codeset = LocaleInfo(locale, CODESET);
    const auto convert = [&](std::string& name) {
        if (!IsAscii(name)) {
            name = codeset != nullptr ? InUtf8(name, codeset).value_or("") : "";
        }
    };
    std::for_each(names.days.begin(), names.days.end(), convert);
    std::for_each(names.months.begin(), names.months.end(), convert);
    std::for_each(names.shortDays.begin(), names.shortDays.end(), convert);
    return WithEnglishFallback(names);
}

// A time format without its seconds and its zone: "%H:%M:%S" is "%H:%M", "%I:%M:%S %p"
// is "%I:%M %p", "%H時%M分%S秒" is "%H時%M分".
std::string WithoutSeconds(std::string format, const std::string& amPmFormat) {
    for (std::size_t at = 0; (at = format.find('%', at)) != std::string::npos;) {
        const std::string_view conversion = std::string_view(format).substr(at, 2);
        if (conversion == "%T") {
            format.replace(at, 2, "%H:%M:%S");
        } else if (conversion == "%r") {
            format.replace(at, 2, amPmFormat.empty() ? "%I:%M:%S %p" : amPmFormat);
        } else if (conversion == "%Z" || conversion == "%z") {
            format.erase(at, 2);
        } else {
            at += 2;
        }
    }
    const std::size_t seconds = format.find("%S");
    const std::size_t minutes = format.rfind("%M", seconds);
    if (seconds == std::string::npos || minutes == std::string::npos) {
        return minutes == std::string::npos ? "%H:%M" : format;
    }
    // A separator before the seconds goes with them ("%M:%S"); a word after the minutes
    // is theirs ("%M分%S秒"), and the seconds' word goes.
    const std::string between = format.substr(minutes + 2, seconds - minutes - 2);
    if (std::all_of(between.begin(), between.end(),
                    [](char c) { return std::strchr(" :.,'", c) != nullptr; })) {
        format.erase(minutes + 2, seconds + 2 - minutes - 2);
    } else {
        const std::size_t end = format.find_first_of(" %", seconds + 2);
        format.erase(seconds, (end == std::string::npos ? format.size() : end) - seconds);
    }
    const auto first = format.find_first_not_of(' ');
    const auto last = format.find_last_not_of(' ');
    return first == std::string::npos ? "%H:%M" : format.substr(first, last - first + 1);
}

}  // namespace

LocaleNames ReadUserLocaleNames() {
    // A locale object of its own, so the process locale (and number formatting) stays "C".
    // Its codeset is LC_CTYPE's.
    locale_t userTime =
        ::newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (userTime == static_cast<locale_t>(nullptr)) {
        return WithEnglishFallback({});
    }
    LocaleNames names = NamesOf(userTime);
    if (!IsUtf8Codeset(userTime)) {
        names = InUtf8(std::move(names), userTime);
    }
    ::freelocale(userTime);
    return names;
}

namespace {

// The names of the installed locale `name`, with whether it writes UTF-8.
struct NamedLocale {
    LocaleNames names;
    bool utf8 = false;
};

std::optional<NamedLocale> ReadLocaleNamed(const std::string& name) {
    // The codeset is LC_CTYPE's.
    const locale_t time =
        ::newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (time == static_cast<locale_t>(nullptr)) {
        return std::nullopt;
    }
    NamedLocale read{NamesOf(time), IsUtf8Codeset(time)};
    ::freelocale(time);
    return read;
}

}  // namespace

std::optional<LocaleNames> ReadUtf8LocaleNames(const std::string& name) {
    auto read = ReadLocaleNamed(name);
    if (!read || !read->utf8) {
        return std::nullopt;
    }
    return std::move(read->names);
}

// Names in another encoding would reach the files as bytes no reader expects: such a
// locale counts only where its names are ASCII (C, POSIX).
std::optional<LocaleNames> ReadNamedLocaleNames(const std::string& name) {
    // "" would be the user's locale.
    if (name.empty()) {
        return std::nullopt;
    }
    auto read = ReadLocaleNamed(name);
    if (!read) {
        return std::nullopt;
    }
    const LocaleNames& names = read->names;
    if (!read->utf8 && !(std::all_of(names.days.begin(), names.days.end(), IsAscii) &&
                         std::all_of(names.months.begin(), names.months.end(), IsAscii) &&
                         std::all_of(names.shortDays.begin(), names.shortDays.end(), IsAscii))) {
        return std::nullopt;
    }
    return std::move(read->names);
}

std::optional<std::string> InstalledLocaleEncoding(const std::string& name) {
    if (name.empty()) {
        return std::nullopt;
    }
    const locale_t locale =
        ::newlocale(LC_CTYPE_MASK | LC_TIME_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        return std::nullopt;
    }
    const char* codeset = LocaleInfo(locale, CODESET);
    std::string encoding = codeset != nullptr ? codeset : "";
    ::freelocale(locale);
    return encoding;
}

char UserDecimalSeparator() {
    // A locale object of its own: the process keeps the "C" numbers that files need.
    locale_t numeric = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (numeric == static_cast<locale_t>(nullptr)) {
        return '.';
    }
    const char* radix = LocaleInfo(numeric, RADIXCHAR);
    // A separator of more than one byte cannot be typed as one character.
    const char separator =
        radix != nullptr && radix[0] != '\0' && radix[1] == '\0' ? radix[0] : '.';
    ::freelocale(numeric);
    return separator;
}

std::function<std::string(int hour, int minute)> LocaleShortTime(const std::string& localeName) {
    const locale_t made = ::newlocale(LC_TIME_MASK | LC_CTYPE_MASK, localeName.c_str(),
                                      static_cast<locale_t>(nullptr));
    if (made == static_cast<locale_t>(nullptr)) {
        return TwentyFourHourTime;
    }
    const std::shared_ptr<std::remove_pointer_t<locale_t>> locale(made, ::freelocale);
    const char* codeset = LocaleInfo(made, CODESET);
    const bool utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
    const char* time = LocaleInfo(made, T_FMT);
    const char* amPm = LocaleInfo(made, T_FMT_AMPM);
    const std::string format =
        WithoutSeconds(time != nullptr ? time : "", amPm != nullptr ? amPm : "");
    return [locale, format, utf8](int hour, int minute) {
        std::tm moment{};
        moment.tm_hour = hour;
        moment.tm_min = minute;
        char text[128];
        const std::size_t length =
            ::strftime_l(text, sizeof text, format.c_str(), &moment, locale.get());
        const std::string shown(text, length);
        // Event lines are UTF-8; a locale in another encoding keeps to digits.
        return length == 0 || (!utf8 && !IsAscii(shown)) ? TwentyFourHourTime(hour, minute) : shown;
    };
}

}  // namespace tessaly
