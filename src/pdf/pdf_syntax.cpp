#include "pdf/pdf_syntax.h"

#include <charconv>

namespace tessaly::pdf_syntax {

// Out of line: mingw's GCC 12, inlining the append into its many callers, warns of it
// falsely (-Wrestrict).
void PutDecimal(std::string& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

void PutDecimal(std::string& out, std::uint64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

}  // namespace tessaly::pdf_syntax
