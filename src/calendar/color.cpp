#include "calendar/color.h"

namespace tessaly {

std::string ColorToHTML(ColorValue color) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string result;
    for (int shift : {0, 8, 16}) {
        const int byte = (color >> shift) & 0xFF;
        result += kDigits[byte >> 4];
        result += kDigits[byte & 0xF];
    }
    return result;
}

}  // namespace tessaly
