#include "ui/qt/window_font.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace tessaly {

QFont WindowFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    for (int size = kWindowFontLineHeight; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= kWindowFontLineHeight) {
            break;
        }
    }
    return font;
}

}  // namespace tessaly
