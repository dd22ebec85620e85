#include "platform/locale_names_win32.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "calendar/events.h"

namespace tessaly {

namespace {

std::string LocaleText(LCID lcid, LCTYPE type) {
    char buffer[256];
    const int count = ::GetLocaleInfoA(lcid, type, buffer, sizeof buffer);
    // The count includes the terminating zero; a failure gives 0 and an empty name.
    return count > 0 ? std::string(buffer, static_cast<size_t>(count - 1)) : std::string();
}

// The same name through the wide API, whatever the ANSI code page can hold.
std::string LocaleTextUtf8(LCID lcid, LCTYPE type) {
    wchar_t buffer[256];
    const int count = ::GetLocaleInfoW(lcid, type, buffer, 256);
    if (count <= 1) {
        return std::string();
    }
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, buffer, count - 1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, buffer, count - 1, text.data(), size, nullptr, nullptr);
    return text;
}

// Windows numbers the days from Monday; the table starts on Sunday.
constexpr LCTYPE kDays[7] = {LOCALE_SDAYNAME7, LOCALE_SDAYNAME1, LOCALE_SDAYNAME2, LOCALE_SDAYNAME3,
                             LOCALE_SDAYNAME4, LOCALE_SDAYNAME5, LOCALE_SDAYNAME6};

}  // namespace

LocaleNames ReadLocaleNames(unsigned long lcid) {
    LocaleNames names;
    for (size_t k = 0; k < names.days.size(); ++k) {
        names.days[k] = LocaleText(lcid, kDays[k]);
    }
    for (size_t k = 0; k < names.months.size(); ++k) {
        names.months[k] = LocaleText(lcid, static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + k));
    }
    return WithEnglishFallback(names);
}

LocaleNames ReadUserLocaleNames() {
    return ReadLocaleNames(::GetThreadLocale());
}

LocaleNames ReadLocaleNamesUtf8(unsigned long lcid) {
    LocaleNames names;
    for (size_t k = 0; k < names.days.size(); ++k) {
        names.days[k] = LocaleTextUtf8(lcid, kDays[k]);
    }
    for (size_t k = 0; k < names.months.size(); ++k) {
        names.months[k] = LocaleTextUtf8(lcid, static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + k));
    }
    return WithEnglishFallback(names);
}

LocaleNames ReadUserLocaleNamesUtf8() {
    return ReadLocaleNamesUtf8(::GetThreadLocale());
}

std::optional<NamedLocaleNames> ReadNamedLocaleNames(const std::string& name) {
    // Locale names are ASCII: "de-DE", "sr-Latn-RS".
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) {
            return static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F;
        })) {
        return std::nullopt;
    }
    const std::wstring wide(name.begin(), name.end());
    const LCID lcid = ::LocaleNameToLCID(wide.c_str(), 0);
    // A custom locale has no number of its own to read names by.
    if (lcid == 0 || lcid == LOCALE_CUSTOM_UNSPECIFIED) {
        return std::nullopt;
    }
    return NamedLocaleNames{ReadLocaleNames(lcid), ReadLocaleNamesUtf8(lcid)};
}

LocaleNames ReadLocaleNamesAfterSettingChange() {
    ::SetThreadLocale(LOCALE_USER_DEFAULT);
    return ReadUserLocaleNames();
}

char UserDecimalSeparator() {
    char separator[8] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) == 2) {
        return separator[0];
    }
    return '.';
}

// Windows refuses --events, the one user of these times, so far.
std::function<std::string(int hour, int minute)> LocaleShortTime(const std::string&) {
    return TwentyFourHourTime;
}

}  // namespace tessaly
