#include "core/int_text.h"

#include <charconv>

namespace tessaly {

namespace {

int DigitValue(char c, int base) {
    int value = 99;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

}  // namespace

std::optional<std::int32_t> ParseIntegerText(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    const std::string_view rest = text.substr(i);
    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        base = 16;
        i += 1;
    } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) {
        return std::nullopt;
    }
    // Accumulate the magnitude in 64 bits so both ends of the 32-bit range fit.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::string ZeroPadded(std::uint64_t value, int width) {
    char digits[24];
    char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const int count = static_cast<int>(end - digits);
    std::string text(static_cast<size_t>(count < width ? width - count : 0), '0');
    text.append(digits, end);
    return text;
}

std::string TwentyFourHourTime(int hour, int minute) {
    return ZeroPadded(static_cast<std::uint64_t>(hour), 2) + ":" +
           ZeroPadded(static_cast<std::uint64_t>(minute), 2);
}

}  // namespace tessaly
