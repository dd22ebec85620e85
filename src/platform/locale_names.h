#pragma once

#include "calendar/names.h"

namespace tessaly {

// Reads the full day and month names of the user's current locale (on POSIX its
// LC_TIME, month names in their stand-alone form where the C library has it; on
// Windows GetLocaleInfoA for the thread locale). Empty or failed entries are English.
LocaleNames ReadUserLocaleNames();

// The same names in UTF-8, for text drawn in an embedded font: on Windows read through
// GetLocaleInfoW, so names the ANSI code page cannot hold still arrive whole.
LocaleNames ReadUserLocaleNamesUtf8();

// The decimal separator of the user's locale, read afresh each time so that a change of
// the regional settings counts at once; '.' when it is not a single byte.
char UserDecimalSeparator();

}  // namespace tessaly
