#include <gtest/gtest.h>

#include "app/form_layout.h"

namespace tessaly {
namespace {

// The layout gives each parent's tab positions; the keyboard visits the group boxes'
// controls in their place, and Win32 places them relative to the window.
TEST(FormLayout, TabOrderAndWindowPlacesFollowTheParents) {
    const std::vector<std::string_view> order = {"Button1",   "Combo2",    "SpinEdit1", "Combo1",
                                                 "CheckBox1", "CheckBox2", "CheckBox3", "Button5"};
    EXPECT_EQ(Form1TabOrder(), order);
    const std::pair<const char*, ControlRect> places[] = {
        {"Combo2", {72, 105, 153, 24}},
        {"Panel1", {88, 228, 25, 25}},
        {"Button1", {208, 319, 137, 25}},
    };
    for (const auto& [name, place] : places) {
        EXPECT_EQ(PlaceInForm1(Form1Control(name)), place) << name;
    }
    EXPECT_THROW(Form1Control("Button3"), std::out_of_range);
}

}  // namespace
}  // namespace tessaly
