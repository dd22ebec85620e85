// The integer-text rule against an oracle built on the C library's strtoll.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/int_text.h"

namespace {

bool IsDigitOf(char c, int base) {
    return (c >= '0' && c <= '9') ||
           (base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

std::optional<std::int32_t> Oracle(const std::string& text) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) {
        return std::nullopt;
    }
    const bool negative = text[i] == '-';
    if (text[i] == '+' || text[i] == '-') {
        ++i;
    }
    int base = 10;
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        base = 16, i += 2;
    } else if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16, i += 1;
    }
    const std::string digits = text.substr(i);
    if (digits.empty()) {
        return std::nullopt;
    }
    for (const char c : digits) {
        if (!IsDigitOf(c, base)) {
            return std::nullopt;
        }
    }
    errno = 0;
    const long long magnitude = std::strtoll(digits.c_str(), nullptr, base);
    const long long value = negative ? -magnitude : magnitude;
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find('\0') != std::string::npos) {
        return 0;  // strtoll would stop there
    }
    if (tessaly::ParseIntegerText(text) != Oracle(text)) {
        std::abort();
    }
    return 0;
}
