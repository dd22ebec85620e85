#include <langinfo.h>
#include <locale.h>
#include <wchar.h>

#include <cstring>

#include "platform/locale_info_posix.h"
#include "platform/text_encoding.h"

namespace tessaly {

std::string InCodePage(std::string_view utf8, unsigned) {
    return std::string(utf8);
}

namespace {

// A locale object of `name`'s character types when they are UTF-8; nothing otherwise.
locale_t Utf8CharacterTypes(const char* name) {
    const locale_t made = ::newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
    if (made == static_cast<locale_t>(nullptr)) {
        return made;
    }
    const char* codeset = LocaleInfo(made, CODESET);
    if (codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0) {
        return made;
    }
    ::freelocale(made);
    return static_cast<locale_t>(nullptr);
}

}  // namespace

// wcwidth reads the thread's LC_CTYPE: a UTF-8 one for the call, whatever the process's.
std::vector<int> DisplayColumnsOf(std::u32string_view characters, const std::string& localeName) {
    std::vector<int> columns(characters.size(), 1);
    locale_t utf8 = Utf8CharacterTypes(localeName.c_str());
    for (const char* fallback : {"C.UTF-8", "en_US.UTF-8"}) {
        if (utf8 == static_cast<locale_t>(nullptr)) {
            utf8 = Utf8CharacterTypes(fallback);
        }
    }
    if (utf8 == static_cast<locale_t>(nullptr)) {
        return columns;
    }
    const locale_t before = ::uselocale(utf8);
    for (std::size_t k = 0; k < characters.size(); ++k) {
        columns[k] = ::wcwidth(static_cast<wchar_t>(characters[k]));
    }
    ::uselocale(before);
    ::freelocale(utf8);
    return columns;
}

}  // namespace tessaly
