#include "calendar/conventions.h"

namespace tessaly {

std::string NumeralOf(int number, const std::vector<std::string>& digits) {
    std::string ascii = std::to_string(number);
    if (digits.size() != 10) {
        return ascii;
    }
    std::string shown;
    for (const char c : ascii) {
        shown +=
            c >= '0' && c <= '9' ? digits[static_cast<std::size_t>(c - '0')] : std::string(1, c);
    }
    return shown;
}

}  // namespace tessaly
