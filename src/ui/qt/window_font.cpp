#include "ui/qt/window_font.h"

#include <QFontDatabase>

namespace tessaly {

QFont WindowFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kWindowFontPixelSize);
    return font;
}

}  // namespace tessaly
