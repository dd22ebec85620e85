#include "pdf/pdf_syntax.h"

namespace tessaly::pdf_syntax {

// Out of line: mingw's GCC 12, inlining the append into its many callers, warns of it
// falsely (-Wrestrict).
void PutDecimal(std::string& out, std::int64_t value) {
    char digits[kMostChars<std::int64_t>];
    out.append(digits, static_cast<std::size_t>(PutInto(digits, value) - digits));
}

void PutDecimal(std::string& out, std::uint64_t value) {
    char digits[kMostChars<std::uint64_t>];
    out.append(digits, static_cast<std::size_t>(PutInto(digits, value) - digits));
}

}  // namespace tessaly::pdf_syntax
