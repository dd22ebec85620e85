#pragma once

#include <windows.h>

#include <functional>

#include "settings/settings_store_win32.h"
#include "ui/common/system_platform_services.h"

namespace tessaly {

// The desktop and system services of the Win32 program. Dialogs are owned by the main
// window once it exists; text is measured in the window's font.
class Win32PlatformServices : public SystemPlatformServices {
  public:
    // `windowFont` stays owned by the caller and must outlive this object. The settings
    // live below HKEY_CURRENT_USER\`settingsRoot` (tests), or HKEY_CURRENT_USER itself.
    explicit Win32PlatformServices(HFONT windowFont, std::string settingsRoot = {});

    void SetOwnerWindow(HWND owner) { owner_ = owner; }
    // Runs before each modal dialog, so the window behind it shows the model's state
    // of that moment (a handler may have changed it before the dialog opens).
    void SetBeforeDialog(std::function<void()> beforeDialog) {
        beforeDialog_ = std::move(beforeDialog);
    }
    // For WM_WININICHANGE: the user may have chosen another locale.
    void ReloadLocaleNames();

    SettingsBackend& Settings() override { return settings_; }
    void OpenWithDefaultHandler(const std::string& target) override;
    std::optional<ColorValue> PickColor(ColorValue initial,
                                        std::array<ColorValue, 16>& customColors) override;
    bool ShowAboutBox(const std::string& text) override;
    void ShowErrorBox(const std::string& text) override;
    int TextWidthInWindowFont(const std::string& text) override;
    ScreenResolution ScreenDpi() override;
    const LocaleNames& UserLocaleNames() override { return localeNames_; }

  private:
    void BeforeDialog() {
        if (beforeDialog_) {
            beforeDialog_();
        }
    }

    HFONT windowFont_;
    HWND owner_ = nullptr;
    std::function<void()> beforeDialog_;
    RegistrySettingsBackend settings_;
    LocaleNames localeNames_;
};

}  // namespace tessaly
