#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// Paths and messages live in UTF-8 inside the program on Windows and meet the system in
// UTF-16, so that any file name works whatever the ANSI code page. Bytes that are not
// UTF-8 become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace tessaly
