#pragma once

#include "platform/locale_names.h"

namespace tessaly {

// The full day and month names of one locale, as GetLocaleInfoA gives them in that
// locale's ANSI code page; failed or empty entries are English.
LocaleNames ReadLocaleNames(unsigned long lcid);

// The same names in UTF-8, read through GetLocaleInfoW.
LocaleNames ReadLocaleNamesUtf8(unsigned long lcid);

// For WM_WININICHANGE: puts the thread back on the user's (possibly new) default locale
// and reads its names again.
LocaleNames ReadLocaleNamesAfterSettingChange();

}  // namespace tessaly
