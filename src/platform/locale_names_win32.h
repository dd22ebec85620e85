#pragma once

#include "platform/locale_names.h"

namespace tessaly {

// The full day and month names of one locale in UTF-8, read through GetLocaleInfoW,
// with the ANSI code page that locale writes 8-bit text in; failed or empty entries are
// English.
LocaleNames ReadLocaleNames(unsigned long lcid);

// For WM_WININICHANGE: puts the thread back on the user's (possibly new) default locale
// and reads its names again.
LocaleNames ReadLocaleNamesAfterSettingChange();

}  // namespace tessaly
