#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "calendar/names.h"
#include "core/product.h"

namespace tessaly {

// The main window's layout, written once: both front ends build their controls by walking
// it, and their tests check the built window against it.

enum class ControlKind {
    Picture,
    GroupBox,
    DropDownList,
    SpinEdit,
    CheckBox,
    Panel,
    PushButton,
    StatusBar
};

// Pixels; left and top relative to the parent's client area.
struct ControlRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const ControlRect&, const ControlRect&) = default;
};

inline constexpr int kNoTabStop = -1;

struct ControlLayout {
    std::string_view name;  // as the window model calls it
    ControlKind kind;
    std::string_view parent;  // kForm1Name, or a group box
    ControlRect place;
    std::string_view caption;
    int tabPosition = kNoTabStop;  // in the parent's tab order
    // A list's items (its open list shows all of them), or the status bar's panel texts.
    std::span<const char* const> items = {};
    int rowHeight = 0;  // of an open list
    std::string_view hint = {};
    bool handCursor = false;
};

inline constexpr std::string_view kForm1Name = "Form1";
inline constexpr std::string_view kForm1Caption = kProductName;
// The window's place on the screen and the size of its client area.
inline constexpr ControlRect kForm1Place = {188, 112, 365, 372};
// The status bar's first panel, the maker's notice; the second takes the rest.
inline constexpr int kStatusNoticeWidth = 170;

inline constexpr std::array<const char*, 2> kWeekStartItems = {"Monday", "Sunday"};
inline constexpr std::array<const char*, 2> kStatusBarPanels = {kMakerNotice, kMakerWebAddress};

// clang-format off
inline constexpr std::array<ControlLayout, 13> kForm1Controls = {{
    {"Image1", ControlKind::Picture, kForm1Name, {0, 0, 368, 67}, "", kNoTabStop, {}, 0,
     "Click for version information...", true},
    {"GroupBox1", ControlKind::GroupBox, kForm1Name, {8, 80, 353, 65},
     "For which month would you like to make a calendar?", 4},
    {"Combo2", ControlKind::DropDownList, "GroupBox1", {64, 25, 153, 24}, "", 0,
     kEnglishMonthNames, 16},
    {"SpinEdit1", ControlKind::SpinEdit, "GroupBox1", {224, 24, 65, 26}, "", 1},
    {"GroupBox2", ControlKind::GroupBox, kForm1Name, {8, 152, 353, 161},
     "Should a week start on Monday or Sunday?", 5},
    {"Combo1", ControlKind::DropDownList, "GroupBox2", {64, 25, 145, 24}, "", 0,
     kWeekStartItems, 16},
    {"CheckBox1", ControlKind::CheckBox, "GroupBox2", {64, 56, 257, 17},
     "Color weekends with another color", 1},
    {"Panel1", ControlKind::Panel, "GroupBox2", {80, 76, 25, 25}, ""},
    {"Button5", ControlKind::PushButton, "GroupBox2", {111, 76, 113, 25}, "Select color...", 4},
    {"CheckBox2", ControlKind::CheckBox, "GroupBox2", {64, 104, 273, 17},
     "Use localized names of days and months", 2},
    {"CheckBox3", ControlKind::CheckBox, "GroupBox2", {64, 128, 273, 17},
     "Create as PDF instead of HTML", 3},
    {"Button1", ControlKind::PushButton, kForm1Name, {208, 319, 137, 25}, "Create and view", 0},
    {"StatusBar1", ControlKind::StatusBar, kForm1Name, {0, 353, 365, 19}, "", kNoTabStop,
     kStatusBarPanels, 0, "", true},
}};
// clang-format on

// Where the control of that name stands in kForm1Controls, and the control itself;
// std::out_of_range for a name the window does not have.
std::size_t Form1ControlIndex(std::string_view name);
const ControlLayout& Form1Control(std::string_view name);

// Where the control lies in the window's client area.
ControlRect PlaceInForm1(const ControlLayout& control);

// The controls the keyboard visits, in the order Tab visits them: each parent's tab
// stops by their positions, a group box standing for its own controls. The first one
// has the focus when the window starts.
std::vector<std::string_view> Form1TabOrder();

}  // namespace tessaly
