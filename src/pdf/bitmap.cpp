#include "pdf/bitmap.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
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
    if (pixels == 0) {
        return bitmap;
    }
    // One pixel, then the pixels so far copied after themselves: whole pixels each time.
    bitmap.rgb[0] = red;
    bitmap.rgb[1] = green;
    bitmap.rgb[2] = blue;
    for (std::size_t done = 3; done < bitmap.rgb.size();) {
        const std::size_t more = std::min(done, bitmap.rgb.size() - done);
        std::memcpy(bitmap.rgb.data() + done, bitmap.rgb.data(), more);
        done += more;
    }
    return bitmap;
}

}  // namespace tessaly
