#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <exception>
#include <string>

#include "calendar/names.h"
#include "core/product.h"
#include "resource_ids.h"

namespace tessaly {

namespace {

constexpr char kWindowClass[] = "TessalyMainWindow";
constexpr int kClientWidth = 365;
constexpr int kClientHeight = 372;
constexpr int kWindowLeft = 188;
constexpr int kWindowTop = 112;

// Group box places in the window; their controls are laid out relative to them.
constexpr POINT kGroupBox1 = {8, 80};
constexpr POINT kGroupBox2 = {8, 152};

// Control numbers start above IDOK and IDCANCEL, which the dialog manager sends for
// Return and Esc when no push button has the focus; those are ignored.
enum ControlId {
    kIdButton1 = 100,
    kIdCombo2,
    kIdSpinEdit1,
    kIdSpinButtons,
    kIdCombo1,
    kIdCheckBox1,
    kIdCheckBox2,
    kIdCheckBox3,
    kIdButton5,
    kIdPanel1,
    kIdImage1,
    kIdGroupBox1,
    kIdGroupBox2,
    kIdStatusBar1,
};

// The first model activation runs after WM_ACTIVATE has finished, so an error box it
// shows does not open in the middle of the activation.
constexpr UINT kMsgActivated = WM_APP + 1;
constexpr UINT_PTR kSpinRepeatTimer = 1;

constexpr int kComboHeight = 24;
constexpr int kComboRowHeight = 16;
constexpr int kComboVisibleRows = 12;
constexpr int kStatusNoticeWidth = 170;

int HeightOf(HWND window) {
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    return bounds.bottom - bounds.top;
}

// Sizes a drop-down list: `height` pixels closed, list rows of `rowHeight`. The frame
// around the selection field differs between Windows versions and themes, and Wine
// reads back the field's height with a different offset than it is set with, so the
// field is corrected by what the control then measures.
void FitCombo(HWND combo, int height, int rowHeight, int visibleRows) {
    LRESULT field = ::SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 3 && field > 0 && HeightOf(combo) != height; ++attempt) {
        field += height - HeightOf(combo);
        ::SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
    ::SendMessageA(combo, CB_SETITEMHEIGHT, 0, rowHeight);
    // Wine's lists take the row height only from the list box itself.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (::GetComboBoxInfo(combo, &info) && info.hwndList != nullptr) {
        ::SendMessageA(info.hwndList, LB_SETITEMHEIGHT, 0, rowHeight);
    }
    ::SendMessageA(combo, CB_SETMINVISIBLE, visibleRows, 0);
}

// A drop-down list is created with its height open: the closed field and the rows,
// which is all the list gets where CB_SETMINVISIBLE is unknown.
constexpr int DroppedHeight(int rows) {
    return kComboHeight + rows * kComboRowHeight + 4;
}

void AddItems(HWND combo, const char* const* items, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
    }
}

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    const int length = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

// Which arrow of up-down buttons the mouse pointer is on: 1 up, -1 down, 0 neither.
int ArrowUnderPointer(HWND buttons) {
    POINT pointer{};
    ::GetCursorPos(&pointer);
    ::ScreenToClient(buttons, &pointer);
    RECT client{};
    ::GetClientRect(buttons, &client);
    if (!::PtInRect(&client, pointer)) {
        return 0;
    }
    return pointer.y < client.bottom / 2 ? 1 : -1;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Win32PlatformServices& services, HFONT font)
    : instance_(instance), services_(services), font_(font), form_(services) {}

MainWindow::~MainWindow() {
    services_.SetBeforeDialog(nullptr);
    services_.SetOwnerWindow(nullptr);
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
    if (banner_ != nullptr) {
        ::DeleteObject(banner_);
    }
}

bool MainWindow::Create(int showCommand) {
    // Shared icons: the window class keeps them for the life of the program.
    const auto icon = [this](int width, int height) {
        return static_cast<HICON>(::LoadImageA(instance_, MAKEINTRESOURCEA(IDI_TESSALY), IMAGE_ICON,
                                               ::GetSystemMetrics(width),
                                               ::GetSystemMetrics(height), LR_SHARED));
    };
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = icon(SM_CXICON, SM_CYICON);
    windowClass.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (::RegisterClassExA(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }

    // A fixed frame: caption, system menu and minimise only.
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    window_ = ::CreateWindowExA(0, kWindowClass, kProductName, kStyle, kWindowLeft, kWindowTop,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, instance_, this);
    if (window_ == nullptr) {
        return false;
    }
    services_.SetOwnerWindow(window_);
    services_.SetBeforeDialog([this] { ShowModel(); });
    CreateControls();
    form_.FormCreate();
    ShowModel();
    ::ShowWindow(window_, showCommand);
    ::UpdateWindow(window_);
    return true;
}

bool MainWindow::HandleDialogMessage(MSG& message) {
    return window_ != nullptr && ::IsDialogMessageA(window_, &message);
}

HWND MainWindow::AddControl(const char* className, const char* text, DWORD style, int left, int top,
                            int width, int height, int id, DWORD exStyle) {
    const HWND control = ::CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | style, left, top, width, height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
}

void MainWindow::CreateControls() {
    // Tab stops first and in tab order: the dialog manager walks the window's children in
    // creation order. The group boxes come last, under the controls they frame.
    button1_ = AddControl(WC_BUTTONA, "Create and view", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
                          208, 319, 137, 25, kIdButton1);

    combo2_ = AddControl(WC_COMBOBOXA, "", WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST,
                         kGroupBox1.x + 64, kGroupBox1.y + 25, 153,
                         DroppedHeight(kComboVisibleRows), kIdCombo2);
    AddItems(combo2_, kEnglishMonthNames.data(), kEnglishMonthNames.size());

    // The year: the model filters the keys, so no ES_NUMBER; the up-down control has no
    // arrow keys of its own and no buddy, the model steps and clamps. The buttons lie
    // over the right end of the field, inside its border, so the two together keep the
    // field's 65 x 26; the field is clipped around them, so it never paints over them.
    constexpr POINT kYear = {kGroupBox1.x + 224, kGroupBox1.y + 24};
    constexpr SIZE kYearSize = {65, 26};
    spinEdit1_ = AddControl(WC_EDITA, form_.SpinEdit1Text().c_str(),
                            WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL, kYear.x,
                            kYear.y, kYearSize.cx, kYearSize.cy, kIdSpinEdit1, WS_EX_CLIENTEDGE);
    ::SendMessageA(spinEdit1_, EM_LIMITTEXT, TForm1::kYearMaxLength, 0);
    const int edge = ::GetSystemMetrics(SM_CXEDGE);
    const int buttonsWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    spinButtons_ = ::CreateWindowExA(0, UPDOWN_CLASSA, nullptr, WS_CHILD | WS_VISIBLE,
                                     kYear.x + kYearSize.cx - edge - buttonsWidth, kYear.y + edge,
                                     buttonsWidth, kYearSize.cy - 2 * edge, window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdSpinButtons)),
                                     instance_, nullptr);
    ::SetWindowPos(spinButtons_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SendMessageA(spinEdit1_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, buttonsWidth));
    // A range around a position that never moves, so neither arrow is ever at an end.
    ::SendMessageA(spinButtons_, UDM_SETRANGE32, 0, 100);
    ::SendMessageA(spinButtons_, UDM_SETPOS32, 0, 50);

    constexpr int kWeekStartRows = static_cast<int>(TForm1::kWeekStartItems.size());
    combo1_ = AddControl(WC_COMBOBOXA, "", WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST,
                         kGroupBox2.x + 64, kGroupBox2.y + 25, 145, DroppedHeight(kWeekStartRows),
                         kIdCombo1);
    AddItems(combo1_, TForm1::kWeekStartItems.data(), TForm1::kWeekStartItems.size());

    checkBox1_ = AddControl(WC_BUTTONA, "Color weekends with another color",
                            WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, kGroupBox2.x + 64,
                            kGroupBox2.y + 56, 257, 17, kIdCheckBox1);
    checkBox2_ = AddControl(WC_BUTTONA, "Use localized names of days and months",
                            WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, kGroupBox2.x + 64,
                            kGroupBox2.y + 104, 273, 17, kIdCheckBox2);
    checkBox3_ = AddControl(WC_BUTTONA, "Create as PDF instead of HTML",
                            WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, kGroupBox2.x + 64,
                            kGroupBox2.y + 128, 273, 17, kIdCheckBox3);
    button5_ = AddControl(WC_BUTTONA, "Select color...", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON,
                          kGroupBox2.x + 111, kGroupBox2.y + 76, 113, 25, kIdButton5);

    // Not tab stops.
    panel1_ = AddControl(WC_STATICA, "", WS_GROUP | SS_OWNERDRAW, kGroupBox2.x + 80,
                         kGroupBox2.y + 76, 25, 25, kIdPanel1);
    image1_ = AddControl(WC_STATICA, "", SS_BITMAP | SS_NOTIFY, 0, 0, 368, 67, kIdImage1);
    banner_ = static_cast<HBITMAP>(
        ::LoadImageA(instance_, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0));
    ::SendMessageA(image1_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_));
    AddBannerHint();

    // The status bar keeps the system's status-bar font, and its designed place and size
    // rather than the height its font would give it.
    statusBar1_ = ::CreateWindowExA(
        0, STATUSCLASSNAMEA, "",
        WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, 353,
        kClientWidth, 19, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdStatusBar1)),
        instance_, nullptr);
    int parts[] = {kStatusNoticeWidth, -1};
    ::SendMessageA(statusBar1_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    ::SendMessageA(statusBar1_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(kMakerNotice));
    ::SendMessageA(statusBar1_, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(kMakerWebAddress));

    AddControl(WC_BUTTONA, "For which month would you like to make a calendar?",
               WS_GROUP | WS_CLIPSIBLINGS | BS_GROUPBOX, kGroupBox1.x, kGroupBox1.y, 353, 65,
               kIdGroupBox1);
    AddControl(WC_BUTTONA, "Should a week start on Monday or Sunday?",
               WS_GROUP | WS_CLIPSIBLINGS | BS_GROUPBOX, kGroupBox2.x, kGroupBox2.y, 353, 161,
               kIdGroupBox2);

    FitCombo(combo2_, kComboHeight, kComboRowHeight, kComboVisibleRows);
    FitCombo(combo1_, kComboHeight, kComboRowHeight, kWeekStartRows);
    for (const HWND control : {spinEdit1_, spinButtons_, button1_, button5_}) {
        Subclass(control);
    }
}

void MainWindow::AddBannerHint() {
    hint_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(image1_);
    tool.lpszText = const_cast<char*>("Click for version information...");
    ::SendMessageA(hint_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::Subclass(HWND control) {
    ::SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto original = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::ControlProc)));
    controlProcs_.emplace_back(control, original);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCCREATE) {
        self->window_ = window;
    }
    // Errors of the model's handlers end in its own error box; this catches what
    // escapes the window's own code, which must not unwind through Windows.
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        self->services_.ShowErrorBox(ErrorBoxText(error.what()));
    }
    return 0;
}

LRESULT CALLBACK MainWindow::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrA(control, GWLP_USERDATA));
    try {
        return self->OnControlMessage(control, message, wParam, lParam);
    } catch (const std::exception& error) {
        self->services_.ShowErrorBox(ErrorBoxText(error.what()));
    }
    return 0;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0 && !showingModel_) {
                OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            }
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_ACTIVATE:
            OnActivate(wParam);
            return 0;
        case kMsgActivated:
            form_.FormActivate();
            ShowModel();
            return 0;
        case WM_NEXTDLGCTL:
            // Tab and Shift+Tab when Windows treats the window as a dialog. Arrow keys
            // (lParam set) do not move between controls.
            if (LOWORD(lParam) == 0) {
                const HWND next = ::GetNextDlgTabItem(window_, ::GetFocus(), wParam != 0);
                if (next != nullptr) {
                    if (::SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
                        ::SendMessageA(next, EM_SETSEL, 0, -1);
                    }
                    ::SetFocus(next);
                }
            }
            return 0;
        case DM_GETDEFID: {
            // The dialog manager asks this when the focus moves and on Return: the
            // focused push button is the default one; elsewhere Return does nothing.
            const HWND focus = ::GetFocus();
            if (focus == button1_ || focus == button5_) {
                return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
            }
            return 0;
        }
        case WM_SETCURSOR: {
            const auto over = reinterpret_cast<HWND>(wParam);
            if ((over == image1_ || over == statusBar1_) && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_DRAWITEM:
            if (wParam == kIdPanel1) {
                OnDrawPanel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            break;
        case WM_TIMER:
            if (wParam == kSpinRepeatTimer) {
                OnSpinRepeat();
                return 0;
            }
            break;
        case WM_WININICHANGE:
            services_.ReloadLocaleNames();
            return 0;
        case WM_DESTROY:
            ::KillTimer(window_, kSpinRepeatTimer);
            ::PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            window_ = nullptr;
            break;
        default:
            break;
    }
    return ::DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        // A plain window forgets its focused control when it loses the activation.
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window_, focus)) {
            focusBeforeDeactivation_ = focus;
        }
        return;
    }
    if (HIWORD(wParam) == 0) {  // not minimised
        ::SetFocus(focusBeforeDeactivation_ != nullptr ? focusBeforeDeactivation_ : button1_);
    }
    ::PostMessageA(window_, kMsgActivated, 0, 0);
}

void MainWindow::OnCommand(HWND control, int notification) {
    if (control == button1_ && notification == BN_CLICKED) {
        form_.Button1Click();
    } else if (control == button5_ && notification == BN_CLICKED) {
        form_.Button5Click();
    } else if (control == image1_ && notification == STN_CLICKED) {
        form_.Image1Click();
    } else if (control == combo2_ && notification == CBN_SELCHANGE) {
        form_.Combo2Select(static_cast<int>(::SendMessageA(combo2_, CB_GETCURSEL, 0, 0)));
    } else if (control == combo1_ && notification == CBN_SELCHANGE) {
        form_.Combo1Select(static_cast<int>(::SendMessageA(combo1_, CB_GETCURSEL, 0, 0)));
    } else if (control == checkBox1_ && notification == BN_CLICKED) {
        form_.CheckBox1Set(::SendMessageA(checkBox1_, BM_GETCHECK, 0, 0) == BST_CHECKED);
    } else if (control == checkBox2_ && notification == BN_CLICKED) {
        form_.CheckBox2Set(::SendMessageA(checkBox2_, BM_GETCHECK, 0, 0) == BST_CHECKED);
    } else if (control == checkBox3_ && notification == BN_CLICKED) {
        form_.CheckBox3Set(::SendMessageA(checkBox3_, BM_GETCHECK, 0, 0) == BST_CHECKED);
    } else if (control == spinEdit1_ && notification == EN_CHANGE) {
        form_.SpinEdit1Edited(WindowText(spinEdit1_));
    } else if (control == spinEdit1_ && notification == EN_KILLFOCUS) {
        // The focus leaving the field counts only when it goes to another control of
        // this window; a dialog or another program taking it is no exit.
        const HWND successor = yearFocusSuccessor_;
        yearFocusSuccessor_ = nullptr;
        if (successor == nullptr || ::GetAncestor(successor, GA_ROOT) != window_) {
            return;
        }
        form_.SpinEdit1Exit();
    } else {
        return;
    }
    ShowModel();
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == statusBar1_ && header.code == NM_CLICK) {
        form_.StatusBar1Click();
        ShowModel();
        return 0;
    }
    if (header.hwndFrom == spinButtons_ && header.code == UDN_DELTAPOS) {
        const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
        // Only the press itself steps (or a wheel turn, which comes without a press);
        // the control's own repeats while the button is held are refused.
        if (!spinHeld_ || spinFirstStepPending_) {
            spinFirstStepPending_ = false;
            spinDirection_ = change.iDelta > 0 ? 1 : -1;
            Step(spinDirection_);
        }
        return TRUE;  // the control's position never changes
    }
    return 0;
}

LRESULT MainWindow::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = nullptr;
    for (const auto& [window, proc] : controlProcs_) {
        if (window == control) {
            original = proc;
        }
    }
    if (control == spinEdit1_) {
        switch (message) {
            case WM_GETDLGCODE: {
                // Return reaches the field, whose key filter refuses it with a beep,
                // rather than being taken by the dialog manager.
                LRESULT code = ::CallWindowProcA(original, control, message, wParam, lParam);
                const auto* pending = reinterpret_cast<const MSG*>(lParam);
                if (pending != nullptr && pending->message == WM_KEYDOWN &&
                    pending->wParam == VK_RETURN) {
                    code |= DLGC_WANTMESSAGE;
                }
                return code;
            }
            case WM_CHAR:
                if (!form_.SpinEdit1KeyAllowed(static_cast<char>(wParam))) {
                    ::MessageBeep(MB_OK);
                    return 0;
                }
                break;
            case WM_KEYDOWN:
                if (wParam == VK_UP || wParam == VK_DOWN) {
                    Step(wParam == VK_UP ? 1 : -1);
                    return 0;
                }
                break;
            case WM_KILLFOCUS:
                yearFocusSuccessor_ = reinterpret_cast<HWND>(wParam);
                break;
            default:
                break;
        }
    } else if (control == spinButtons_) {
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: {
                spinHeld_ = true;
                spinFirstStepPending_ = true;
                const LRESULT result =
                    ::CallWindowProcA(original, control, message, wParam, lParam);
                spinFirstStepPending_ = false;
                if (::GetFocus() != spinEdit1_) {
                    ::SetFocus(spinEdit1_);
                }
                if (spinHeld_) {
                    ::SetTimer(window_, kSpinRepeatTimer, TForm1::kYearFirstRepeatMs, nullptr);
                }
                return result;
            }
            case WM_LBUTTONUP:
            case WM_CAPTURECHANGED:
            case WM_CANCELMODE:
                StopSpinRepeat();
                break;
            default:
                break;
        }
    } else if (control == button1_ || control == button5_) {
        // The focused push button is the one Return presses, and shows it.
        if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
            const LRESULT result = ::CallWindowProcA(original, control, message, wParam, lParam);
            ::SendMessageA(control, BM_SETSTYLE,
                           message == WM_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
            return result;
        }
    }
    return ::CallWindowProcA(original, control, message, wParam, lParam);
}

void MainWindow::OnSpinRepeat() {
    if (!spinHeld_) {
        StopSpinRepeat();
        return;
    }
    // Steps only while the pointer stays on the pressed arrow, as the buttons' own
    // repeat would.
    if (ArrowUnderPointer(spinButtons_) == spinDirection_) {
        Step(spinDirection_);
    }
    ::SetTimer(window_, kSpinRepeatTimer, TForm1::kYearRepeatMs, nullptr);
}

void MainWindow::StopSpinRepeat() {
    spinHeld_ = false;
    ::KillTimer(window_, kSpinRepeatTimer);
}

void MainWindow::Step(int direction) {
    if (direction > 0) {
        form_.SpinEdit1Up();
    } else {
        form_.SpinEdit1Down();
    }
    ShowModel();
}

void MainWindow::OnDrawPanel(const DRAWITEMSTRUCT& item) {
    RECT area = item.rcItem;
    const auto color = form_.Panel1Color();
    const HBRUSH brush = color ? ::CreateSolidBrush(static_cast<COLORREF>(*color))
                               : ::GetSysColorBrush(COLOR_BTNFACE);
    ::FillRect(item.hDC, &area, brush);
    if (color) {
        ::DeleteObject(brush);
    }
    // A plain panel: one raised bevel.
    ::DrawEdge(item.hDC, &area, BDR_RAISEDINNER, BF_RECT);
}

void MainWindow::ShowModel() {
    if (window_ == nullptr || showingModel_) {
        return;
    }
    showingModel_ = true;
    const auto select = [](HWND combo, int index) {
        if (::SendMessageA(combo, CB_GETCURSEL, 0, 0) != index) {
            ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    };
    select(combo2_, form_.Combo2ItemIndex());
    select(combo1_, form_.Combo1ItemIndex());
    // Only a changed text is set, so the caret stays where the user is typing.
    if (WindowText(spinEdit1_) != form_.SpinEdit1Text()) {
        ::SetWindowTextA(spinEdit1_, form_.SpinEdit1Text().c_str());
    }
    const auto check = [](HWND box, bool checked) {
        const WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
        if (static_cast<WPARAM>(::SendMessageA(box, BM_GETCHECK, 0, 0)) != state) {
            ::SendMessageA(box, BM_SETCHECK, state, 0);
        }
    };
    check(checkBox1_, form_.CheckBox1Checked());
    check(checkBox2_, form_.CheckBox2Checked());
    check(checkBox3_, form_.CheckBox3Checked());
    if (form_.Panel1Color() != shownPanelColor_) {
        shownPanelColor_ = form_.Panel1Color();
        ::InvalidateRect(panel1_, nullptr, TRUE);
    }
    showingModel_ = false;
}

}  // namespace tessaly
