#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// The platform's 8-bit text (UTF-8 on Linux, the ANSI code page on Windows) in
// Windows-1252, the encoding PDF text is shown through; nothing when a character
// cannot be shown there.
std::optional<std::string> ToWinAnsi(std::string_view platformText);

// The platform's 8-bit text in UTF-8.
std::string ToUtf8(std::string_view platformText);

}  // namespace tessaly
