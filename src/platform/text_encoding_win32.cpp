#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/text_encoding.h"
#include "platform/wide_text_win32.h"

namespace tessaly {

// Without flags, as GetLocaleInfoA converts a locale's names: best fit, then "?".
std::string InCodePage(std::string_view utf8, unsigned codePage) {
    const std::wstring wide = WideFromUtf8(utf8);
    if (wide.empty() || wide.size() > INT_MAX) {
        return {};
    }
    const int wideSize = static_cast<int>(wide.size());
    const int size =
        ::WideCharToMultiByte(codePage, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), wideSize, text.data(), size, nullptr, nullptr);
    return text;
}

}  // namespace tessaly
