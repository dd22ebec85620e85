#pragma once

#include <functional>
#include <optional>
#include <string>

#include "calendar/names.h"

namespace tessaly {

// Reads the full day and month names of the user's current locale (on POSIX its
// LC_TIME, month names in their stand-alone form where the C library has it; on
// Windows GetLocaleInfoA for the thread locale). Empty or failed entries are English.
LocaleNames ReadUserLocaleNames();

// The same names in UTF-8, for text drawn in an embedded font: on Windows read through
// GetLocaleInfoW, so names the ANSI code page cannot hold still arrive whole.
LocaleNames ReadUserLocaleNamesUtf8();

// A locale chosen by name rather than the user's: its names in the platform's encoding,
// and in UTF-8.
struct NamedLocaleNames {
    LocaleNames names;
    LocaleNames utf8;
};

// The names of the locale called `name`: on POSIX an installed locale (de_DE.UTF-8)
// whose names are UTF-8; on Windows a name LocaleNameToLCID knows (de-DE). Nothing
// for any other name. Empty entries are English.
std::optional<NamedLocaleNames> ReadNamedLocaleNames(const std::string& name);

// The decimal separator of the user's locale, read afresh each time so that a change of
// the regional settings counts at once; '.' when it is not a single byte.
char UserDecimalSeparator();

// Times of day as the locale `localeName` writes them, short: its own notation without
// the seconds ("09:30", "9:30 AM", "9時30分"); "" is the user's LC_TIME. On POSIX an
// installed locale; TwentyFourHourTime for any other name, and on Windows for now.
std::function<std::string(int hour, int minute)> LocaleShortTime(const std::string& localeName);

}  // namespace tessaly
