#pragma once

#include <windows.h>

namespace tessaly {

// "MS Sans Serif" with a character cell of 13 pixels. CreateFontA takes a positive
// height as the cell height (internal leading included) and a negative one as the
// character height without it; the window's layout was drawn around the 13-pixel cell,
// so the height is positive. The caller owns the font (DeleteObject).
HFONT CreateWindowFont();

}  // namespace tessaly
