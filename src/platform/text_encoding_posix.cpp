#include <locale.h>
#include <wchar.h>

#include "platform/text_encoding.h"

namespace tessaly {

std::string InCodePage(std::string_view utf8, unsigned) {
    return std::string(utf8);
}

// wcwidth reads the thread's LC_CTYPE: a UTF-8 one for the call, whatever the process's.
std::vector<int> DisplayColumnsOf(std::u32string_view characters) {
    std::vector<int> columns(characters.size(), 1);
    locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (utf8 == static_cast<locale_t>(nullptr)) {
        utf8 = ::newlocale(LC_CTYPE_MASK, "en_US.UTF-8", static_cast<locale_t>(nullptr));
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
