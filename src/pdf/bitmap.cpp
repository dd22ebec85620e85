#include "pdf/bitmap.h"

#include <cstddef>
#include <stdexcept>

namespace tessaly {

Bitmap24 Bitmap24::Filled(int width, int height, std::uint8_t red, std::uint8_t green,
                          std::uint8_t blue) {
    if (width < 0 || height < 0) {
        throw std::invalid_argument("Bitmap24::Filled: negative size");
    }
    Bitmap24 bitmap;
    bitmap.width = width;
    bitmap.height = height;
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    bitmap.rgb.resize(3 * pixels);
    for (std::size_t i = 0; i < bitmap.rgb.size(); i += 3) {
        bitmap.rgb[i] = red;
        bitmap.rgb[i + 1] = green;
        bitmap.rgb[i + 2] = blue;
    }
    return bitmap;
}

}  // namespace tessaly
