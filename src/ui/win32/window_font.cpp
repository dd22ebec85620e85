#include "ui/win32/window_font.h"

namespace tessaly {

HFONT CreateWindowFont() {
    constexpr int kCharacterHeight = 13;
    return ::CreateFontA(-kCharacterHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

}  // namespace tessaly
