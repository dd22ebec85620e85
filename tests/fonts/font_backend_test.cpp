#include <gtest/gtest.h>

#include "fonts/font_backend.h"
#include "pdfcalendar/standard_font_widths.h"

namespace tessaly {
namespace {

// Helvetica-Bold's own widths (its font metrics), measured on the installed twin.
TEST(HelveticaBoldWidths, AreHelveticaBoldsMetrics) {
    const auto widths = HelveticaBoldWidths();
    if (!widths) {
        GTEST_SKIP() << "neither Liberation Sans Bold nor Arial Bold is installed";
    }
    const std::pair<unsigned char, int> metrics[] = {
        {' ', 278}, {'1', 556}, {'A', 722}, {'J', 556},  {'M', 833},  {'W', 944},  {'a', 556},
        {'i', 278}, {'m', 889}, {'r', 389}, {0x80, 556}, {0xE4, 556}, {0xDF, 611}, {0x81, 0}};
    for (const auto& [code, width] : metrics) {
        EXPECT_EQ((*widths)[code], width) << "code " << int{code};
    }
    // The built-in table the titles are centred by is the installed twin's, code for code.
    for (std::size_t code = 0x20; code < widths->size(); ++code) {
        EXPECT_EQ(HelveticaBoldWinAnsiWidths()[code], (*widths)[code]) << "code " << code;
    }
}

}  // namespace
}  // namespace tessaly
