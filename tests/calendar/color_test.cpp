#include <gtest/gtest.h>

#include "calendar/color.h"

namespace tessaly {
namespace {

TEST(ColorToHTML, WritesRedGreenBlueInUpperCase) {
    const std::pair<ColorValue, const char*> cases[] = {
        {0x5, "050000"},      {0xFF, "FF0000"},     {0x1AB, "AB0100"}, {0xFF00, "00FF00"},
        {0x12345, "452301"},  {0xFF0000, "0000FF"}, {0, "000000"},     {0xC0C0C0, "C0C0C0"},
        {0xFFFFFF, "FFFFFF"}, {0x0A0B0C, "0C0B0A"},
    };
    for (const auto& [color, html] : cases) {
        EXPECT_EQ(ColorToHTML(color), html) << std::hex << color;
    }
}

}  // namespace
}  // namespace tessaly
