#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/form_layout.h"
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
    // The window made for a control of the layout.
    HWND Control(std::string_view name) const;

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

    // Builds every control of the layout; how each kind is made in Win32 is MakeControl's.
    void CreateControls();
    HWND MakeControl(const ControlLayout& layout, int id);
    HWND MakeSpinEdit(const ControlRect& place, DWORD tabStop, int id);
    HWND AddControl(const char* className, const std::string& text, DWORD style,
                    const ControlRect& place, int id, DWORD exStyle = 0);
    void AddHint(HWND control, const std::string& hint);
    void Subclass(HWND control);
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
    std::array<HWND, kForm1Controls.size()> controls_{};
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
