#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// UTF-8 text in the 8-bit encoding of code page `codePage` (0: the process's ANSI code
// page), as the system's -A functions and a page that declares no encoding take it:
// characters the code page lacks become its best fit or "?". On POSIX, where text is
// UTF-8 throughout, the text unchanged.
std::string InCodePage(std::string_view utf8, unsigned codePage = 0);

// The columns of a terminal each character takes: 0 for a combining mark, 2 for a wide
// East Asian one, else 1 (-1 for one that cannot be printed). On POSIX the C library's
// wcwidth in a UTF-8 locale: `localeName`'s when it is one ("" the user's), which the
// names have loaded already, else C.UTF-8; on Windows the character types the system
// gives (GetStringTypeW).
std::vector<int> DisplayColumnsOf(std::u32string_view characters,
                                  const std::string& localeName = {});

}  // namespace tessaly
