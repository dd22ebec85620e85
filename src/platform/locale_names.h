#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/locale_names.h"

namespace tessaly {

// The full day and month names of the user's current locale, in UTF-8 (on POSIX its
// LC_TIME, month names in their stand-alone form where the C library has it; on Windows
// the thread locale's, with its ANSI code page). Empty or failed entries are English.
LocaleNames ReadUserLocaleNames();

// The names of the locale called `name`: on POSIX an installed locale (de_DE.UTF-8)
// whose names are UTF-8; on Windows a name LocaleNameToLCID knows (de-DE). Nothing
// for any other name. Empty entries are English.
std::optional<LocaleNames> ReadNamedLocaleNames(const std::string& name);

#ifndef _WIN32
// The names of the installed locale `name` ("" the user's) when it writes UTF-8; nothing
// for a locale not installed or writing another encoding. Works in a statically linked
// program too, which has no conversion between encodings.
std::optional<LocaleNames> ReadUtf8LocaleNames(const std::string& name);
#endif

// The encoding of the installed locale `name` (on POSIX its LC_CTYPE's: "KOI8-R"), to say
// why ReadNamedLocaleNames refuses it; nothing for a name that is not an installed locale,
// and always nothing on Windows, whose locale names have no encoding of their own.
std::optional<std::string> InstalledLocaleEncoding(const std::string& name);

// The decimal separator of the user's locale, read afresh each time so that a change of
// the regional settings counts at once; '.' when it is not a single byte.
char UserDecimalSeparator();

// Times of day as the locale `localeName` writes them, short: its own notation without
// the seconds ("09:30", "9:30 AM", "9時30分"); "" is the user's locale (LC_TIME on
// POSIX). On POSIX an installed locale, on Windows a name LocaleNameToLCID knows;
// TwentyFourHourTime for any other name.
std::function<std::string(int hour, int minute)> LocaleShortTime(const std::string& localeName);

}  // namespace tessaly
