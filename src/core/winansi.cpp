#include "core/winansi.h"

#include <array>
#include <cstdint>

namespace tessaly {

namespace {

// Characters of bytes 0x80..0x9F; 0 where Windows-1252 leaves the byte undefined.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> ToByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// Decodes one character at `i`, advancing it; nothing when the bytes are not UTF-8.
std::optional<char32_t> Decode(std::string_view text, size_t& i) {
    const auto lead = static_cast<std::uint8_t>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<std::uint8_t>(text[i]) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (static_cast<std::uint8_t>(text[i++]) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    return c;
}

}  // namespace

std::optional<std::string> Utf8ToWinAnsi(std::string_view utf8) {
    std::string result;
    result.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto c = Decode(utf8, i);
        if (!c) {
            return std::nullopt;
        }
        const auto byte = ToByte(*c);
        if (!byte) {
            return std::nullopt;
        }
        result += *byte;
    }
    return result;
}

std::optional<std::u32string> Utf8ToCodePoints(std::string_view utf8) {
    std::u32string text;
    text.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto c = Decode(utf8, i);
        if (!c) {
            return std::nullopt;
        }
        text += *c;
    }
    return text;
}

std::u32string Utf8ToCodePointsReplacing(std::string_view bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t start = i;
        if (const auto c = Decode(bytes, i)) {
            text += *c;
        } else {
            text += U'\uFFFD';
            // Past the lead byte only: a broken sequence's next byte may start a character.
            i = start + 1;
        }
    }
    return text;
}

std::string Utf8ToWinAnsiReplacing(std::string_view utf8) {
    std::string result;
    for (const char32_t c : Utf8ToCodePointsReplacing(utf8)) {
        result += ToByte(c).value_or('?');
    }
    return result;
}

char32_t WinAnsiCharacter(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::string CodePointToUtf8(char32_t c) {
    std::string bytes;
    if (c < 0x80) {
        bytes += static_cast<char>(c);
    } else if (c < 0x800) {
        bytes += static_cast<char>(0xC0 | (c >> 6));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        bytes += static_cast<char>(0xE0 | (c >> 12));
        bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | (c >> 18));
        bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    }
    return bytes;
}

}  // namespace tessaly
