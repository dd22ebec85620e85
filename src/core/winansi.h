#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// UTF-8 text in Windows-1252; nothing for malformed UTF-8 or a character that
// Windows-1252 has no byte for.
std::optional<std::string> Utf8ToWinAnsi(std::string_view utf8);

// The characters of UTF-8 text; nothing when it is not well-formed UTF-8.
std::optional<std::u32string> Utf8ToCodePoints(std::string_view utf8);

// The characters of any bytes read as UTF-8, each broken sequence taken as U+FFFD.
std::u32string Utf8ToCodePointsReplacing(std::string_view bytes);

// UTF-8 text in Windows-1252 with "?" for each character Windows-1252 has no byte for.
std::string Utf8ToWinAnsiReplacing(std::string_view utf8);

// One character in UTF-8.
std::string CodePointToUtf8(char32_t c);

// The character of a Windows-1252 byte; 0 for the five bytes the code page leaves
// undefined.
char32_t WinAnsiCharacter(unsigned char byte);

}  // namespace tessaly
