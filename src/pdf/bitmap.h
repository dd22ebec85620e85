#pragma once

#include <cstdint>
#include <vector>

namespace tessaly {

// 24-bit picture: rows top to bottom, each pixel R, G, B; no padding.
// rgb.size() == 3 * width * height
struct Bitmap24 {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    // Every pixel the same colour; throws std::invalid_argument for a negative size.
    static Bitmap24 Filled(int width, int height, std::uint8_t red, std::uint8_t green,
                           std::uint8_t blue);
};

}  // namespace tessaly
