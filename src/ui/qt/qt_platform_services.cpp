#include "ui/qt/qt_platform_services.h"

#include <algorithm>

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QtMath>

#include "platform/locale_names.h"
#include "ui/qt/window_font.h"

namespace tessaly {

QUrl UrlForTarget(const std::string& target) {
    if (target.find("://") != std::string::npos) {
        return QUrl(QString::fromUtf8(target));
    }
    const QString path = QFile::decodeName(QByteArray::fromStdString(target));
    return QUrl::fromLocalFile(QDir().absoluteFilePath(path));
}

QColor ToQColor(ColorValue color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

ColorValue FromQColor(const QColor& color) {
    return ColorFromRgb(color.red(), color.green(), color.blue());
}

QtPlatformServices::QtPlatformServices(std::unique_ptr<SettingsBackend> settings)
    : settings_(std::move(settings)) {}

void QtPlatformServices::AttachWindow(QWidget& window) {
    if (window_) {
        window_->removeEventFilter(this);
    }
    window_ = &window;
    window.installEventFilter(this);
}

bool QtPlatformServices::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::LocaleChange) {
        localeNames_ = ReadUserLocaleNames();
    }
    return QObject::eventFilter(watched, event);
}

void QtPlatformServices::OpenWithDefaultHandler(const std::string& target) {
    QDesktopServices::openUrl(UrlForTarget(target));
}

std::optional<ColorValue> QtPlatformServices::PickColor(ColorValue initial,
                                                        std::array<ColorValue, 16>& customColors) {
    // The custom colour slotCount are process-wide in Qt; the window's own list fills
    // them for every pick.
    const int slotCount = std::min(QColorDialog::customCount(), int(customColors.size()));
    for (int k = 0; k < slotCount; ++k) {
        QColorDialog::setCustomColor(k, ToQColor(customColors[static_cast<size_t>(k)]));
    }
    QColorDialog dialog(ToQColor(initial), window_);
    // Qt's own dialog everywhere: desktop pickers have no custom colour slotCount.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    for (int k = 0; k < slotCount; ++k) {
        customColors[static_cast<size_t>(k)] = FromQColor(QColorDialog::customColor(k));
    }
    return FromQColor(dialog.selectedColor());
}

bool QtPlatformServices::ShowAboutBox(const std::string& text) {
    QString lines = QString::fromUtf8(text);
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), lines,
                    QMessageBox::Ok | QMessageBox::Cancel, window_);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);  // Esc and the close box
    return box.exec() == QMessageBox::Ok;
}

void QtPlatformServices::ShowErrorBox(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tessaly"), QString::fromUtf8(text),
                    QMessageBox::Ok, window_);
    box.exec();
}

int QtPlatformServices::TextWidthInWindowFont(const std::string& text) {
    const QFont font = window_ ? window_->font() : WindowFont();
    return QFontMetrics(font).horizontalAdvance(QString::fromUtf8(text));
}

ScreenResolution QtPlatformServices::ScreenDpi() {
    const QScreen* screen = window_ ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {96, 96};
    }
    return {qRound(screen->logicalDotsPerInchX()), qRound(screen->logicalDotsPerInchY())};
}

const LocaleNames& QtPlatformServices::UserLocaleNames() {
    if (!localeNames_) {
        localeNames_ = ReadUserLocaleNames();
    }
    return *localeNames_;
}

}  // namespace tessaly
