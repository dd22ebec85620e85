#pragma once

#include <optional>
#include <string>

#include "platform/locale_names.h"

namespace tessaly {

// The full day and month names of one locale in UTF-8, read through GetLocaleInfoW,
// with the ANSI code page that locale writes 8-bit text in; failed or empty entries are
// English.
LocaleNames ReadLocaleNames(unsigned long lcid);

// One entry of a locale's data (GetLocaleInfoW, an LCTYPE), in UTF-8; "" where it has
// none.
std::string LocaleInfoText(unsigned long lcid, unsigned long type);
// A numeric entry (read with LOCALE_RETURN_NUMBER); nothing where it has none.
std::optional<unsigned long> LocaleInfoNumber(unsigned long lcid, unsigned long type);

// For WM_WININICHANGE: puts the thread back on the user's (possibly new) default locale
// and reads its names again.
LocaleNames ReadLocaleNamesAfterSettingChange();

}  // namespace tessaly
