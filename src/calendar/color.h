#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

// A colour as the platform's colour dialogs give it: red in the low byte.
using ColorValue = std::int32_t;

// Six upper-case hex digits in HTML order (red, green, blue).
std::string ColorToHTML(ColorValue color);

// Builds a colour value from HTML-order components.
constexpr ColorValue ColorFromRgb(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

}  // namespace tessaly
