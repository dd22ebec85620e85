#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <optional>

#include "ui/common/system_platform_services.h"

namespace tessaly {

// The Linux desktop under Qt: dialogs and measurements from Qt, everything else from
// the toolkit-free POSIX services. Every service is virtual, so tests can replace the
// opener or the program's folder and keep the rest real.
class QtPlatformServices : public QObject, public SystemPlatformServices {
  public:
    explicit QtPlatformServices(std::unique_ptr<SettingsBackend> settings);

    // The main window: it owns the dialogs, its font measures text, and its
    // locale-change events reload the locale names.
    void AttachWindow(QWidget& window);

    SettingsBackend& Settings() override { return *settings_; }
    void OpenWithDefaultHandler(const std::string& target) override;
    std::optional<ColorValue> PickColor(ColorValue initial,
                                        std::array<ColorValue, 16>& customColors) override;
    bool ShowAboutBox(const std::string& text) override;
    void ShowErrorBox(const std::string& text) override;
    int TextWidthInWindowFont(const std::string& text) override;
    ScreenResolution ScreenDpi() override;
    const LocaleNames& UserLocaleNames() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::unique_ptr<SettingsBackend> settings_;
    QPointer<QWidget> window_;
    std::optional<LocaleNames> localeNames_;
};

// What the desktop is asked to open: web addresses as they are, files as file: URLs.
QUrl UrlForTarget(const std::string& target);

// Colour values keep red in the low byte.
QColor ToQColor(ColorValue color);
ColorValue FromQColor(const QColor& color);

}  // namespace tessaly
