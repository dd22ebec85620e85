#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <exception>
#include <string>
#include <vector>

#include "resource_ids.h"

namespace tessaly {

namespace {

constexpr char kWindowClass[] = "TessalyMainWindow";

// Control numbers start above IDOK and IDCANCEL, which the dialog manager sends for
// Return and Esc when no push button has the focus; those are ignored. The controls of
// the layout take them in the layout's order, the year's up-down buttons the next one.
constexpr int kFirstControlId = 100;
constexpr int kIdSpinButtons = kFirstControlId + static_cast<int>(kForm1Controls.size());

// The first model activation runs after WM_ACTIVATE has finished, so an error box it
// shows does not open in the middle of the activation.
constexpr UINT kMsgActivated = WM_APP + 1;
constexpr UINT_PTR kSpinRepeatTimer = 1;

// Tab stops first and in tab order: the dialog manager walks the window's children in
// creation order. The group boxes come last, under the controls they frame.
std::vector<const ControlLayout*> CreationOrder() {
    std::vector<const ControlLayout*> order;
    for (const std::string_view name : Form1TabOrder()) {
        order.push_back(&Form1Control(name));
    }
    for (const ControlLayout& control : kForm1Controls) {
        if (control.tabPosition == kNoTabStop) {
            order.push_back(&control);
        }
    }
    for (const ControlLayout& control : kForm1Controls) {
        if (control.kind == ControlKind::GroupBox) {
            order.push_back(&control);
        }
    }
    return order;
}

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
int DroppedHeight(const ControlLayout& list) {
    return list.place.height + static_cast<int>(list.items.size()) * list.rowHeight + 4;
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
    RECT frame = {0, 0, kForm1Place.width, kForm1Place.height};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    const std::string caption(kForm1Caption);
    window_ = ::CreateWindowExA(0, kWindowClass, caption.c_str(), kStyle, kForm1Place.left,
                                kForm1Place.top, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, instance_, this);
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

HWND MainWindow::Control(std::string_view name) const {
    return controls_[Form1ControlIndex(name)];
}

HWND MainWindow::AddControl(const char* className, const std::string& text, DWORD style,
                            const ControlRect& place, int id, DWORD exStyle) {
    const HWND control =
        ::CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                          place.left, place.top, place.width, place.height, window_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
}

void MainWindow::CreateControls() {
    for (const ControlLayout* control : CreationOrder()) {
        const size_t index = Form1ControlIndex(control->name);
        controls_[index] = MakeControl(*control, kFirstControlId + static_cast<int>(index));
    }
    for (const ControlLayout& control : kForm1Controls) {
        if (control.kind == ControlKind::DropDownList) {
            FitCombo(Control(control.name), control.place.height, control.rowHeight,
                     static_cast<int>(control.items.size()));
        }
    }

    image1_ = Control("Image1");
    combo2_ = Control("Combo2");
    spinEdit1_ = Control("SpinEdit1");
    combo1_ = Control("Combo1");
    checkBox1_ = Control("CheckBox1");
    checkBox2_ = Control("CheckBox2");
    checkBox3_ = Control("CheckBox3");
    panel1_ = Control("Panel1");
    button5_ = Control("Button5");
    button1_ = Control("Button1");
    statusBar1_ = Control("StatusBar1");
    for (const HWND control : {spinEdit1_, spinButtons_, button1_, button5_}) {
        Subclass(control);
    }
}

HWND MainWindow::MakeControl(const ControlLayout& layout, int id) {
    const ControlRect place = PlaceInForm1(layout);
    const std::string caption(layout.caption);
    const DWORD tabStop = layout.tabPosition == kNoTabStop ? 0 : WS_TABSTOP | WS_GROUP;
    switch (layout.kind) {
        case ControlKind::Picture: {
            const HWND picture = AddControl(WC_STATICA, "", SS_BITMAP | SS_NOTIFY, place, id);
            banner_ = static_cast<HBITMAP>(
                ::LoadImageA(instance_, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0));
            ::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_));
            AddHint(picture, std::string(layout.hint));
            return picture;
        }
        case ControlKind::GroupBox:
            return AddControl(WC_BUTTONA, caption, WS_GROUP | WS_CLIPSIBLINGS | BS_GROUPBOX, place,
                              id);
        case ControlKind::DropDownList: {
            ControlRect dropped = place;
            dropped.height = DroppedHeight(layout);
            const HWND list =
                AddControl(WC_COMBOBOXA, "", tabStop | WS_VSCROLL | CBS_DROPDOWNLIST, dropped, id);
            for (const char* item : layout.items) {
                ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            }
            return list;
        }
        case ControlKind::SpinEdit:
            return MakeSpinEdit(place, tabStop, id);
        case ControlKind::CheckBox:
            return AddControl(WC_BUTTONA, caption, tabStop | BS_AUTOCHECKBOX, place, id);
        case ControlKind::Panel:
            return AddControl(WC_STATICA, "", WS_GROUP | SS_OWNERDRAW, place, id);
        case ControlKind::PushButton: {
            // The button that starts with the focus is the default one.
            const bool first = layout.name == Form1TabOrder().front();
            return AddControl(WC_BUTTONA, caption,
                              tabStop | (first ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), place, id);
        }
        case ControlKind::StatusBar: {
            // The status bar keeps the system's status-bar font, and its designed place and
            // size rather than the height its font would give it.
            const HWND bar = ::CreateWindowExA(
                0, STATUSCLASSNAMEA, "",
                WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                place.left, place.top, place.width, place.height, window_,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
            std::vector<int> edges;
            for (size_t k = 1; k < layout.items.size(); ++k) {
                edges.push_back(kStatusNoticeWidth * static_cast<int>(k));
            }
            edges.push_back(-1);  // the last panel takes the rest
            ::SendMessageA(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
            for (size_t k = 0; k < layout.items.size(); ++k) {
                ::SendMessageA(bar, SB_SETTEXTA, k, reinterpret_cast<LPARAM>(layout.items[k]));
            }
            return bar;
        }
    }
    return nullptr;
}

// The year: the model filters the keys, so no ES_NUMBER; the up-down control has no
// arrow keys of its own and no buddy, the model steps and clamps. The buttons lie over
// the right end of the field, inside its border, so the two together keep the field's
// size; the field is clipped around them, so it never paints over them.
HWND MainWindow::MakeSpinEdit(const ControlRect& place, DWORD tabStop, int id) {
    const HWND field =
        AddControl(WC_EDITA, form_.SpinEdit1Text(), tabStop | WS_CLIPSIBLINGS | ES_AUTOHSCROLL,
                   place, id, WS_EX_CLIENTEDGE);
    ::SendMessageA(field, EM_LIMITTEXT, TForm1::kYearMaxLength, 0);
    const int edge = ::GetSystemMetrics(SM_CXEDGE);
    const int buttonsWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    spinButtons_ = ::CreateWindowExA(
        0, UPDOWN_CLASSA, nullptr, WS_CHILD | WS_VISIBLE,
        place.left + place.width - edge - buttonsWidth, place.top + edge, buttonsWidth,
        place.height - 2 * edge, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdSpinButtons)), instance_, nullptr);
    ::SetWindowPos(spinButtons_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SendMessageA(field, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, buttonsWidth));
    // A range around a position that never moves, so neither arrow is ever at an end.
    ::SendMessageA(spinButtons_, UDM_SETRANGE32, 0, 100);
    ::SendMessageA(spinButtons_, UDM_SETPOS32, 0, 50);
    return field;
}

void MainWindow::AddHint(HWND control, const std::string& hint) {
    if (hint.empty()) {
        return;
    }
    hint_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(hint.c_str());
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
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.hwndItem == panel1_) {
                OnDrawPanel(item);
                return TRUE;
            }
            break;
        }
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
