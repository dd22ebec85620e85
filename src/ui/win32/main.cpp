// tessaly.exe: the Win32 desktop program.
#include <windows.h>

#include <commctrl.h>

#include "ui/win32/main_window.h"
#include "ui/win32/win32_platform_services.h"
#include "ui/win32/window_font.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS;
    ::InitCommonControlsEx(&controls);

    const HFONT font = tessaly::CreateWindowFont();
    int exitCode = 1;
    {
        tessaly::Win32PlatformServices services(font);
        tessaly::MainWindow window(instance, services, font);
        if (!window.Create(showCommand)) {
            ::MessageBoxA(nullptr, "The main window could not be created.", "Tessaly",
                          MB_OK | MB_ICONERROR);
            ::DeleteObject(font);
            return exitCode;
        }
        MSG message;
        BOOL got;
        while ((got = ::GetMessageA(&message, nullptr, 0, 0)) > 0) {
            if (!window.HandleDialogMessage(message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageA(&message);
            }
        }
        exitCode = got == 0 ? static_cast<int>(message.wParam) : 1;
    }
    ::DeleteObject(font);
    return exitCode;
}
