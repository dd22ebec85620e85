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

// Windows has no wcwidth: a combining mark takes no column (nonspacing and no letter:
// a letter with an accent, "é", is typed nonspacing too); a full-width form, an
// ideograph, kana that is not half-width, Hangul and the supplementary ideographic
// planes take two.
std::vector<int> DisplayColumnsOf(std::u32string_view characters, const std::string&) {
    std::vector<int> columns;
    columns.reserve(characters.size());
    for (const char32_t c : characters) {
        if ((c >= 0x1100 && c <= 0x115F) || (c >= 0xAC00 && c <= 0xD7A3) ||
            (c >= 0x20000 && c <= 0x3FFFD)) {
            columns.push_back(2);
            continue;
        }
        if (c > 0xFFFF) {
            columns.push_back(1);
            continue;
        }
        const wchar_t unit = static_cast<wchar_t>(c);
        WORD type = 0;
        if (!::GetStringTypeW(CT_CTYPE3, &unit, 1, &type)) {
            columns.push_back(1);
        } else if ((type & C3_NONSPACING) != 0 && (type & C3_ALPHA) == 0) {
            columns.push_back(0);
        } else if ((type & C3_HALFWIDTH) == 0 &&
                   (type & (C3_FULLWIDTH | C3_IDEOGRAPH | C3_HIRAGANA | C3_KATAKANA)) != 0) {
            columns.push_back(2);
        } else {
            columns.push_back(1);
        }
    }
    return columns;
}

}  // namespace tessaly
