#pragma once

#include <QFont>

namespace tessaly {

// The layout is laid out in pixels for a font whose lines are 13 pixels high.
inline constexpr int kWindowFontLineHeight = 13;

// The desktop's sans-serif UI font at the largest pixel size whose line height
// (ascent + descent) is at most kWindowFontLineHeight: about 11 pixels for the usual
// Linux UI fonts, so every text fits the fixed control sizes.
QFont WindowFont();

}  // namespace tessaly
