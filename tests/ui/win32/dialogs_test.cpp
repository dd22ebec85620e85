#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "ui/win32/win32_platform_services.h"
#include "ui/win32/window_font.h"
#include "ui/win32/window_helpers.h"

namespace tessaly {
namespace {

using test::DialogAnswerer;
using test::PressButton;
using test::TextOf;

// What a message box shows: its text, icon, visible buttons and default button.
struct MessageBoxView {
    std::string text;
    HICON icon = nullptr;
    std::vector<int> buttons;
    int defaultButton = 0;
    RECT bounds{};
};

MessageBoxView Look(HWND box) {
    MessageBoxView view;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char kind[32] = {};
        ::GetClassNameA(child, kind, sizeof kind);
        if (!::IsWindowVisible(child)) {
            continue;
        } else if (std::string(kind) == "Button") {
            view.buttons.push_back(::GetDlgCtrlID(child));
        } else if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            view.icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        } else if (!TextOf(child).empty()) {
            view.text = TextOf(child);
        }
    }
    view.defaultButton = LOWORD(::SendMessageA(box, DM_GETDEFID, 0, 0));
    ::GetWindowRect(box, &view.bounds);
    return view;
}

struct Services {
    HFONT font = CreateWindowFont();
    Win32PlatformServices services{font};
    ~Services() { ::DeleteObject(font); }
};

TEST(AboutBox, InformationWithOkAsDefaultAndCancelCentredOnTheScreenOnlyOkIsTrue) {
    const std::string text = "Tessaly version 3.5\r\rsecond line";
    const std::pair<const char*, bool> answers[] = {
        {"OK", true}, {"Cancel", false}, {"close", false}};
    for (const auto& [answer, result] : answers) {
        Services s;
        MessageBoxView view;
        DialogAnswerer answerer("Information", [&, answer = std::string(answer)](HWND box) {
            view = Look(box);
            if (answer == "close") {
                ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            } else {
                PressButton(box, answer == "OK" ? IDOK : IDCANCEL);
            }
        });
        EXPECT_EQ(s.services.ShowAboutBox(text), result) << answer;
        ASSERT_TRUE(answerer.Answered()) << "no box captioned Information";
        EXPECT_EQ(view.text, text);
        EXPECT_EQ(view.icon, ::LoadIconA(nullptr, IDI_INFORMATION));
        EXPECT_EQ(view.buttons, (std::vector<int>{IDOK, IDCANCEL}));
        EXPECT_EQ(view.defaultButton, IDOK);
        EXPECT_NEAR(view.bounds.left + view.bounds.right, ::GetSystemMetrics(SM_CXSCREEN), 2);
    }
}

// Error texts carry paths in UTF-8: a folder the ANSI code page cannot name shows whole.
TEST(ErrorBox, ShowsAPathOutsideTheCodePageWithTheErrorIconAndOk) {
    Services s;
    std::wstring shown;
    MessageBoxView view;
    DialogAnswerer answerer("Tessaly", [&](HWND box) {
        view = Look(box);
        for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[512] = {};
            if (::GetDlgCtrlID(child) != IDOK && ::GetWindowTextW(child, text, 512) > 0) {
                shown = text;
            }
        }
        PressButton(box, IDOK);
    });
    s.services.ShowErrorBox(
        "Cannot create file C:\\\xC5\x81ukasz\\\xE6\x97\xA5\xE6\x9C\xAC\\calendar.pdf.");
    ASSERT_TRUE(answerer.Answered()) << "no box captioned Tessaly";
    EXPECT_EQ(shown, L"Cannot create file C:\\\u0141ukasz\\\u65E5\u672C\\calendar.pdf.");
    EXPECT_EQ(view.icon, ::LoadIconA(nullptr, IDI_ERROR));
    EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
}

TEST(ColorPicker, OkAtOnceGivesTheStartingColourAndTheCustomColoursItWasHanded) {
    std::array<ColorValue, 16> custom;
    custom.fill(0xFFFFFF);
    custom[0] = 0x336699;
    custom[15] = 0x010203;
    auto offered = custom;
    Services s;
    DialogAnswerer answerer("Color", [](HWND dialog) { PressButton(dialog, IDOK); });
    EXPECT_EQ(s.services.PickColor(0x0000FF, offered), 0x0000FF);
    ASSERT_TRUE(answerer.Answered()) << "no colour dialog";
    EXPECT_EQ(offered, custom);
}

}  // namespace
}  // namespace tessaly
