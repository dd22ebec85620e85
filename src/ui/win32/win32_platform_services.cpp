#include "ui/win32/win32_platform_services.h"

#include <commdlg.h>

#include <climits>

#include "core/product.h"
#include "platform/locale_names_win32.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#include "platform/wide_text_win32.h"

namespace tessaly {

Win32PlatformServices::Win32PlatformServices(HFONT windowFont, std::string settingsRoot)
    : windowFont_(windowFont),
      settings_(std::move(settingsRoot)),
      localeNames_(ReadUserLocaleNames()) {}

void Win32PlatformServices::ReloadLocaleNames() {
    localeNames_ = ReadLocaleNamesAfterSettingChange();
}

void Win32PlatformServices::OpenWithDefaultHandler(const std::string& target) {
    tessaly::OpenWithDefaultHandler(target);
}

std::optional<ColorValue> Win32PlatformServices::PickColor(
    ColorValue initial, std::array<ColorValue, 16>& customColors) {
    COLORREF custom[16];
    for (size_t i = 0; i < customColors.size(); ++i) {
        custom[i] = static_cast<COLORREF>(customColors[i]);
    }
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner_;
    choose.rgbResult = static_cast<COLORREF>(initial);
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT;
    BeforeDialog();
    if (!::ChooseColorA(&choose)) {
        return std::nullopt;
    }
    for (size_t i = 0; i < customColors.size(); ++i) {
        customColors[i] = static_cast<ColorValue>(custom[i]);
    }
    return static_cast<ColorValue>(choose.rgbResult);
}

bool Win32PlatformServices::ShowAboutBox(const std::string& text) {
    // A message box centres itself on the screen; Esc and the close box give IDCANCEL.
    BeforeDialog();
    return ::MessageBoxA(owner_, text.c_str(), "Information",
                         MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON1) == IDOK;
}

// Error texts carry paths, which are UTF-8.
void Win32PlatformServices::ShowErrorBox(const std::string& text) {
    BeforeDialog();
    ::MessageBoxW(owner_, WideFromUtf8(text).c_str(), WideFromUtf8(kProductName).c_str(),
                  MB_OK | MB_ICONERROR);
}

// In the ANSI code page, as the window's -A functions show text.
int Win32PlatformServices::TextWidthInWindowFont(const std::string& utf8) {
    const std::string text = InCodePage(utf8);
    if (text.empty() || text.size() > INT_MAX) {
        return 0;
    }
    const HDC screen = ::GetDC(nullptr);
    const HGDIOBJ previous = ::SelectObject(screen, windowFont_);
    SIZE extent{};
    ::GetTextExtentPoint32A(screen, text.data(), static_cast<int>(text.size()), &extent);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    return extent.cx;
}

ScreenResolution Win32PlatformServices::ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const ScreenResolution dpi{::GetDeviceCaps(screen, LOGPIXELSX),
                               ::GetDeviceCaps(screen, LOGPIXELSY)};
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace tessaly
