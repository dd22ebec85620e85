#pragma once

#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "ui/win32/win32_platform_services.h"

namespace tessaly {

// The program's one window over TForm1: creates the controls at their pixel places,
// forwards each event to the model and shows the model's state back.
class MainWindow {
  public:
    MainWindow(HINSTANCE instance, Win32PlatformServices& services, HFONT font);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates and shows the window; false when Windows refuses.
    bool Create(int showCommand);
    HWND Handle() const { return window_; }
    // For the message loop: Tab, Return, Space and Esc as in a dialog. True when the
    // message was handled and must not be dispatched again.
    bool HandleDialogMessage(MSG& message);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(HWND control, int notification);
    LRESULT OnNotify(const NMHDR& header);
    void OnActivate(WPARAM wParam);
    void OnSpinRepeat();
    void OnDrawPanel(const DRAWITEMSTRUCT& item);

    void CreateControls();
    HWND AddControl(const char* className, const char* text, DWORD style, int left, int top,
                    int width, int height, int id, DWORD exStyle = 0);
    void Subclass(HWND control);
    void AddBannerHint();
    void Step(int direction);
    void StopSpinRepeat();
    // Shows the model's state in every control without their notifications reaching
    // the model again.
    void ShowModel();

    HINSTANCE instance_;
    Win32PlatformServices& services_;
    HFONT font_;
    TForm1 form_;

    HWND window_ = nullptr;
    HWND image1_ = nullptr;
    HWND combo2_ = nullptr;
    HWND spinEdit1_ = nullptr;
    HWND spinButtons_ = nullptr;
    HWND combo1_ = nullptr;
    HWND checkBox1_ = nullptr;
    HWND checkBox2_ = nullptr;
    HWND checkBox3_ = nullptr;
    HWND panel1_ = nullptr;
    HWND button5_ = nullptr;
    HWND button1_ = nullptr;
    HWND statusBar1_ = nullptr;
    HWND hint_ = nullptr;
    HBITMAP banner_ = nullptr;

    bool showingModel_ = false;
    HWND focusBeforeDeactivation_ = nullptr;
    HWND yearFocusSuccessor_ = nullptr;
    std::optional<ColorValue> shownPanelColor_;
    std::vector<std::pair<HWND, WNDPROC>> controlProcs_;

    // The up-down control repeats on its own schedule; while a button is held its own
    // repeats are refused and this window's timer steps instead.
    bool spinHeld_ = false;
    bool spinFirstStepPending_ = false;
    int spinDirection_ = 0;
};

}  // namespace tessaly
