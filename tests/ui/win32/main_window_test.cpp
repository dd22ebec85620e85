#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "app/form_layout.h"
#include "core/product.h"
#include "platform/system.h"
#include "ui/win32/main_window.h"
#include "ui/win32/window_font.h"
#include "ui/win32/window_helpers.h"

namespace tessaly {
namespace {

using namespace std::chrono_literals;
using test::TextOf;

// The window's settings live under a key of the tests' own, never the user's settings.
constexpr const char* kTestRoot = "Software\\Orvanta\\TessalyWindowTest";
const std::string kTestSettingsKey = std::string(kTestRoot) + "\\" + kSettingsKey;

std::string Stored(const char* name, const std::string& key = kTestSettingsKey) {
    char data[32] = {};
    DWORD size = sizeof data;
    const LSTATUS status =
        ::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size);
    return status == ERROR_SUCCESS ? data : "<none>";
}

// What the user's own settings hold, read without changing them.
std::string UsersSettings() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return "no key";
    }
    ::RegCloseKey(key);
    return Stored("WeekStart", kSettingsKey) + Stored("Localized", kSettingsKey) +
           Stored("PDF", kSettingsKey);
}

// The program's window, started on a settings store that holds `stored`.
class MainWindowTest : public ::testing::Test {
  protected:
    void Start(const std::vector<std::pair<const char*, const char*>>& stored = {}) {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
        for (const auto& [name, text] : stored) {
            ::RegSetKeyValueA(HKEY_CURRENT_USER, kTestSettingsKey.c_str(), name, REG_SZ, text,
                              static_cast<DWORD>(std::strlen(text) + 1));
        }
        ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
        ::SetForegroundWindow(window_.Handle());
        test::PumpMessages(window_.Handle(), 300ms);
    }
    ~MainWindowTest() override {
        ::DestroyWindow(window_.Handle());
        EXPECT_EQ(UsersSettings(), usersSettings_) << "a test touched the user's own settings";
        // Closing the window ends the program's loop; here the next test goes on.
        MSG quit;
        ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        ::DeleteObject(font_);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
    }

    // The n-th child of a class in creation order (statics: the swatch, then the
    // banner), or the one with a text.
    HWND Child(const char* className, int index = 0) const {
        HWND child = nullptr;
        for (int i = 0; i <= index; ++i) {
            child = ::FindWindowExA(window_.Handle(), child, className, nullptr);
        }
        return child;
    }
    HWND Child(const char* className, const char* text) const {
        return ::FindWindowExA(window_.Handle(), nullptr, className, text);
    }
    HWND Year() const { return Child(WC_EDITA); }
    RECT PlaceOf(HWND control) const {
        RECT place{};
        ::GetWindowRect(control, &place);
        ::MapWindowPoints(nullptr, window_.Handle(), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    const std::string usersSettings_ = UsersSettings();
    HFONT font_ = CreateWindowFont();
    Win32PlatformServices services_{font_, kTestRoot};
    MainWindow window_{::GetModuleHandleA(nullptr), services_, font_};
};

TEST_F(MainWindowTest, ControlsSitAtTheirPixelPlacesInTheWindowFont) {
    Start();
    for (const ControlLayout& c : kForm1Controls) {
        const HWND control = window_.Control(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        const ControlRect at = PlaceInForm1(c);
        const RECT expected = {at.left, at.top, at.left + at.width, at.top + at.height};
        const RECT place = PlaceOf(control);
        EXPECT_TRUE(::EqualRect(&place, &expected))
            << c.name << " at " << place.left << "," << place.top << " " << place.right << ","
            << place.bottom;
        if (!c.caption.empty()) {
            EXPECT_EQ(TextOf(control), c.caption) << c.name;
        }
        // Text is in the window's font, except in the status bar, which has the system's.
        if (c.kind != ControlKind::Picture && c.kind != ControlKind::Panel) {
            const auto font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
            EXPECT_EQ(font == font_, c.kind != ControlKind::StatusBar) << c.name;
        }
        if (c.kind == ControlKind::DropDownList) {
            // The open list shows every row at the layout's height.
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            ::SendMessageA(control, CB_SHOWDROPDOWN, TRUE, 0);
            ::GetComboBoxInfo(control, &info);
            RECT list{};
            ::GetClientRect(info.hwndList, &list);
            EXPECT_EQ(::SendMessageA(info.hwndList, LB_GETITEMHEIGHT, 0, 0), c.rowHeight);
            EXPECT_GE(list.bottom, static_cast<LONG>(c.items.size()) * c.rowHeight) << c.name;
            ::SendMessageA(control, CB_SHOWDROPDOWN, FALSE, 0);
        }
    }
    // The year's buttons lie within the field's rectangle.
    RECT year = PlaceOf(Year()), buttons = PlaceOf(Child(UPDOWN_CLASSA)), both{};
    ::UnionRect(&both, &year, &buttons);
    EXPECT_TRUE(::EqualRect(&both, &year));

    int parts[4] = {};
    EXPECT_EQ(::SendMessageA(window_.Control("StatusBar1"), SB_GETPARTS, 4,
                             reinterpret_cast<LPARAM>(parts)),
              2);
    EXPECT_EQ(parts[0], kStatusNoticeWidth);

    RECT client{}, frame{};
    ::GetClientRect(window_.Handle(), &client);
    ::GetWindowRect(window_.Handle(), &frame);
    EXPECT_EQ(TextOf(window_.Handle()), kForm1Caption);
    EXPECT_EQ(std::make_pair(client.right, client.bottom),
              std::make_pair(LONG{kForm1Place.width}, LONG{kForm1Place.height}));
    EXPECT_EQ(std::make_pair(frame.left, frame.top),
              std::make_pair(LONG{kForm1Place.left}, LONG{kForm1Place.top}));
    const LONG style = ::GetWindowLongA(window_.Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_SYSMENU),
              WS_MINIMIZEBOX | WS_SYSMENU);
}

TEST_F(MainWindowTest, StartsOnTodayWithTheFocusOnCreateAndViewAndTabsInOrder) {
    Start();
    const LocalDateTime today = LocalNow();
    EXPECT_EQ(::SendMessageA(Child(WC_COMBOBOXA, 0), CB_GETCURSEL, 0, 0), today.month - 1);
    EXPECT_EQ(::SendMessageA(Child(WC_COMBOBOXA, 1), CB_GETCURSEL, 0, 0), 1);  // Sunday
    EXPECT_EQ(TextOf(Year()), std::to_string(today.year));

    const std::vector<std::string_view> order = Form1TabOrder();
    const HWND first = window_.Control(order.front());
    EXPECT_EQ(::GetFocus(), first);
    EXPECT_TRUE(::SendMessageA(first, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
    // Tab as the dialog manager handles it, all the way round: the push button with
    // the focus is the one Return presses.
    for (size_t k = 1; k <= order.size(); ++k) {
        const std::string_view name = order[k % order.size()];
        const HWND next = window_.Control(name);
        const HWND from = ::GetFocus();
        ::PostMessageA(from, WM_KEYDOWN, VK_TAB, 1);
        test::PumpMessages(window_.Handle(), 50ms);
        EXPECT_EQ(::GetFocus(), next) << "after " << TextOf(from);
        const bool pushButton = Form1Control(name).kind == ControlKind::PushButton;
        EXPECT_EQ((::SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0, pushButton)
            << name;
    }
}

TEST_F(MainWindowTest, StoredChoicesShowAndEachControlStoresItsOwn) {
    Start({{"WeekStart", "0"}, {"Localized", "1"}});
    const HWND weekStart = Child(WC_COMBOBOXA, 1);
    const HWND localized = Child(WC_BUTTONA, "Use localized names of days and months");
    const HWND pdf = Child(WC_BUTTONA, "Create as PDF instead of HTML");
    EXPECT_EQ(::SendMessageA(weekStart, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(::SendMessageA(localized, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageA(pdf, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    ::SendMessageA(pdf, BM_CLICK, 0, 0);
    EXPECT_EQ(Stored("PDF"), "1");
    EXPECT_EQ(Stored("Localized"), "1");
    ::SendMessageA(localized, BM_CLICK, 0, 0);
    EXPECT_EQ(Stored("Localized"), "0");
    // The user choosing Sunday: the list changes, then tells its window.
    ::SendMessageA(weekStart, CB_SETCURSEL, 1, 0);
    ::SendMessageA(window_.Handle(), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(weekStart), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(weekStart));
    EXPECT_EQ(Stored("WeekStart"), "1");
}

TEST_F(MainWindowTest, YearFieldFiltersKeysStepsAndClampsWhenLeft) {
    Start();
    const HWND year = Year();
    EXPECT_EQ(::SendMessageA(year, EM_GETLIMITTEXT, 0, 0), 4);
    ::SetFocus(year);
    ::SetWindowTextA(year, "");
    for (const char key : std::string("1x9\r9 9")) {
        ::SendMessageA(year, WM_CHAR, static_cast<unsigned char>(key), 1);
    }
    EXPECT_EQ(TextOf(year), "1999");

    const std::tuple<const char*, WPARAM, const char*> steps[] = {
        {"1999", VK_UP, "2000"}, {"2100", VK_UP, "2100"},   {"1900", VK_DOWN, "1900"},
        {"abc", VK_UP, "1901"},  {"12.5", VK_DOWN, "1900"},
    };
    for (const auto& [text, key, shown] : steps) {
        ::SetWindowTextA(year, text);
        ::SendMessageA(year, WM_KEYDOWN, key, 1);
        EXPECT_EQ(TextOf(year), shown) << text;
    }

    // A click on the up button steps once and puts the focus into the field.
    const HWND create = Child(WC_BUTTONA, "Create and view");
    ::SetFocus(create);
    ::SetWindowTextA(year, "2030");
    const HWND buttons = Child(UPDOWN_CLASSA);
    RECT area{};
    ::GetClientRect(buttons, &area);
    const LPARAM upper = MAKELPARAM(area.right / 2, area.bottom / 4);
    ::SendMessageA(buttons, WM_LBUTTONDOWN, MK_LBUTTON, upper);
    ::SendMessageA(buttons, WM_LBUTTONUP, 0, upper);
    test::PumpMessages(window_.Handle(), 100ms);
    EXPECT_EQ(TextOf(year), "2031");
    EXPECT_EQ(::GetFocus(), year);

    // Out of range stays as typed until the focus moves on to another control.
    ::SetWindowTextA(year, "1800");
    EXPECT_EQ(TextOf(year), "1800");
    ::SetFocus(create);
    EXPECT_EQ(TextOf(year), "1900");
}

}  // namespace
}  // namespace tessaly
