#pragma once

#include <windows.h>

namespace tessaly {

// "MS Sans Serif" with characters 13 pixels high. CreateFontA takes a negative height
// as the character height without the internal leading: at 96 DPI that is the 10-point
// face of the bitmap font, a 16-pixel cell with 3 pixels of leading. The caller owns the
// font (DeleteObject).
HFONT CreateWindowFont();

}  // namespace tessaly
