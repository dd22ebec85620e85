#include "pdf/pdf_syntax.h"

#include <charconv>

namespace tessaly::pdf_syntax {

char* PutAnyDecimal(char* at, std::int64_t value) {
    return std::to_chars(at, at + kMostChars<std::int64_t>, value).ptr;
}

char* PutAnyDecimal(char* at, std::uint64_t value) {
    return std::to_chars(at, at + kMostChars<std::uint64_t>, value).ptr;
}

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
