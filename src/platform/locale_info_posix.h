#pragma once

#include <langinfo.h>
#include <locale.h>

namespace tessaly {

// nl_langinfo_l's answer, asked through uselocale: a statically linked C library answers
// nl_langinfo_l from the "C" locale whatever the object holds. The text lives as long as
// the locale object.
inline const char* LocaleInfo(locale_t locale, nl_item item) {
    const locale_t before = ::uselocale(locale);
    const char* text = ::nl_langinfo(item);
    ::uselocale(before);
    return text;
}

}  // namespace tessaly
