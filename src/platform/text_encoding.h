#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// UTF-8 text in the 8-bit encoding of code page `codePage` (0: the process's ANSI code
// page), as the system's -A functions and a page that declares no encoding take it:
// characters the code page lacks become its best fit or "?". On POSIX, where text is
// UTF-8 throughout, the text unchanged.
std::string InCodePage(std::string_view utf8, unsigned codePage = 0);

}  // namespace tessaly
