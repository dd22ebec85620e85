#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// UTF-8 text in Windows-1252; nothing for malformed UTF-8 or a character that
// Windows-1252 has no byte for.
std::optional<std::string> Utf8ToWinAnsi(std::string_view utf8);

}  // namespace tessaly
