#include "platform/locale_names_win32.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "core/int_text.h"
#include "platform/wide_text_win32.h"

namespace tessaly {

namespace {

// Windows numbers the days from Monday; the table starts on Sunday.
constexpr LCTYPE kDays[7] = {LOCALE_SDAYNAME7, LOCALE_SDAYNAME1, LOCALE_SDAYNAME2, LOCALE_SDAYNAME3,
                             LOCALE_SDAYNAME4, LOCALE_SDAYNAME5, LOCALE_SDAYNAME6};
constexpr LCTYPE kShortestDays[7] = {LOCALE_SSHORTESTDAYNAME7, LOCALE_SSHORTESTDAYNAME1,
                                     LOCALE_SSHORTESTDAYNAME2, LOCALE_SSHORTESTDAYNAME3,
                                     LOCALE_SSHORTESTDAYNAME4, LOCALE_SSHORTESTDAYNAME5,
                                     LOCALE_SSHORTESTDAYNAME6};
constexpr LCTYPE kAbbreviatedDays[7] = {
    LOCALE_SABBREVDAYNAME7, LOCALE_SABBREVDAYNAME1, LOCALE_SABBREVDAYNAME2, LOCALE_SABBREVDAYNAME3,
    LOCALE_SABBREVDAYNAME4, LOCALE_SABBREVDAYNAME5, LOCALE_SABBREVDAYNAME6};

// The locale id of a name LocaleNameToLCID knows ("de-DE"); nothing for any other.
std::optional<LCID> LocaleIdOf(const std::string& name) {
    // Locale names are ASCII: "de-DE", "sr-Latn-RS".
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) {
            return static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F;
        })) {
        return std::nullopt;
    }
    const LCID lcid = ::LocaleNameToLCID(WideFromUtf8(name).c_str(), 0);
    // A custom locale has no number of its own to read names by.
    if (lcid == 0 || lcid == LOCALE_CUSTOM_UNSPECIFIED) {
        return std::nullopt;
    }
    return lcid;
}

}  // namespace

LocaleNames ReadLocaleNames(unsigned long lcid) {
    LocaleNames names;
    for (size_t k = 0; k < names.days.size(); ++k) {
        names.days[k] = LocaleInfoText(lcid, kDays[k]);
        // The shortest names where the system has them, else the abbreviated ones.
        names.shortDays[k] = LocaleInfoText(lcid, kShortestDays[k]);
        if (names.shortDays[k].empty()) {
            names.shortDays[k] = LocaleInfoText(lcid, kAbbreviatedDays[k]);
        }
    }
    for (size_t k = 0; k < names.months.size(); ++k) {
        names.months[k] = LocaleInfoText(lcid, static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + k));
    }
    // The code page GetLocaleInfoA would give the names in; 0 (a locale without one) is
    // the process's.
    names.codePage =
        static_cast<unsigned>(LocaleInfoNumber(lcid, LOCALE_IDEFAULTANSICODEPAGE).value_or(0));
    return WithEnglishFallback(names);
}

std::string LocaleInfoText(unsigned long lcid, unsigned long type) {
    wchar_t buffer[256];
    const int count = ::GetLocaleInfoW(lcid, type, buffer, 256);
    // The count includes the terminating zero; a failure gives 0 and an empty text.
    return count > 1 ? Utf8FromWide({buffer, static_cast<std::size_t>(count - 1)}) : std::string();
}

std::optional<unsigned long> LocaleInfoNumber(unsigned long lcid, unsigned long type) {
    DWORD value = 0;
    if (::GetLocaleInfoW(lcid, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&value),
                         sizeof value / sizeof(wchar_t)) == 0) {
        return std::nullopt;
    }
    return value;
}

LocaleNames ReadUserLocaleNames() {
    return ReadLocaleNames(::GetThreadLocale());
}

std::optional<LocaleNames> ReadNamedLocaleNames(const std::string& name) {
    const auto lcid = LocaleIdOf(name);
    if (!lcid) {
        return std::nullopt;
    }
    return ReadLocaleNames(*lcid);
}

std::optional<std::string> InstalledLocaleEncoding(const std::string&) {
    return std::nullopt;
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

// The locale's time format less its seconds ("h:mm tt" for en-US), as the names' locale:
// the thread's, or the one named.
std::function<std::string(int hour, int minute)> LocaleShortTime(const std::string& localeName) {
    const auto lcid =
        localeName.empty() ? std::optional<LCID>(::GetThreadLocale()) : LocaleIdOf(localeName);
    if (!lcid) {
        return TwentyFourHourTime;
    }
    return [lcid = *lcid](int hour, int minute) {
        SYSTEMTIME time{};
        time.wYear = 2000;
        time.wMonth = 1;
        time.wDay = 1;
        time.wHour = static_cast<WORD>(hour);
        time.wMinute = static_cast<WORD>(minute);
        wchar_t text[64];
        const int count = ::GetTimeFormatW(lcid, TIME_NOSECONDS, &time, nullptr, text, 64);
        return count > 1 ? Utf8FromWide({text, static_cast<std::size_t>(count - 1)})
                         : TwentyFourHourTime(hour, minute);
    };
}

}  // namespace tessaly
