#pragma once

namespace tessaly {

// The screen's resolution in dots per inch, which scales PDF pictures.
struct ScreenResolution {
    int dpiX = 96;
    int dpiY = 96;
};

}  // namespace tessaly
