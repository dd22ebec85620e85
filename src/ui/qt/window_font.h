#pragma once

#include <QFont>

namespace tessaly {

// The layout is laid out in pixels for a font whose characters are 13 pixels high.
inline constexpr int kWindowFontPixelSize = 13;

// The desktop's sans-serif UI font with a pixel size (em height, the character height
// without leading) of kWindowFontPixelSize.
QFont WindowFont();

}  // namespace tessaly
