#include "pdfcalendar/pdf_calendar.h"

#include <array>
#include <cstdint>
#include <utility>

#include "core/rounding.h"
#include "core/winansi.h"

namespace tessaly {

namespace {

// Advance widths of characters 0x20..0xFF in the 10-point face (16-pixel cell, 3 pixels
// of internal leading, so 13-pixel characters; 96 DPI, character set 1252) of the MS Sans
// Serif bitmap font, read from Wine's sserife.fon with scripts/dev/fon-widths.py: what
// GetTextExtentPoint32A measures in the window font.
constexpr std::array<std::uint8_t, 224> kWindowFontWidths = {
    3,  3,  5,  7,  7,  12, 9,  3,  4,  4,  5,  7,  3,  4,  3,  4,   // 0x20
    7,  7,  7,  7,  7,  7,  7,  7,  7,  7,  3,  3,  7,  7,  7,  7,   // 0x30
    14, 9,  9,  9,  10, 9,  8,  10, 10, 3,  7,  8,  7,  11, 10, 10,  // 0x40
    9,  10, 10, 9,  9,  10, 9,  13, 8,  9,  8,  4,  4,  4,  7,  7,   // 0x50
    4,  8,  8,  7,  8,  8,  3,  8,  7,  3,  3,  7,  3,  11, 7,  8,   // 0x60
    8,  8,  4,  7,  3,  7,  7,  9,  6,  7,  6,  5,  3,  5,  9,  5,   // 0x70
    7,  5,  3,  4,  5,  6,  9,  9,  4,  14, 9,  5,  13, 5,  8,  5,   // 0x80
    5,  3,  3,  5,  5,  5,  4,  5,  4,  7,  7,  5,  12, 5,  6,  9,   // 0x90
    3,  3,  7,  7,  7,  7,  3,  7,  4,  8,  5,  7,  7,  4,  8,  7,   // 0xA0
    4,  7,  4,  4,  4,  7,  7,  3,  4,  4,  5,  7,  9,  9,  9,  7,   // 0xB0
    9,  9,  9,  9,  9,  9,  13, 9,  9,  9,  9,  9,  3,  3,  3,  3,   // 0xC0
    9,  10, 10, 10, 10, 10, 10, 7,  10, 10, 10, 10, 10, 9,  9,  8,   // 0xD0
    8,  8,  8,  8,  8,  8,  13, 7,  8,  8,  8,  8,  3,  3,  3,  3,   // 0xE0
    8,  7,  8,  8,  8,  8,  8,  7,  8,  7,  7,  7,  7,  7,  8,  7,   // 0xF0
};
// Control characters are drawn as the font's default character, 0x81.
constexpr int kDefaultCharacterWidth = 5;

}  // namespace

PdfPageGeometry PageGeometryOf(Paper paper) {
    PdfPageGeometry page;
    if (paper == Paper::A4) {
        page.pageWidth = 842;
        page.pageHeight = 595;
        page.titleByWindowFont = false;
        page.mondayShadingDrop = 0;
    }
    page.columnWidth = RoundedHalfToEven(page.pageWidth - 36, 7);  // 108, A4 115
    page.rowHeight = RoundedHalfToEven(page.pageHeight - 40, 7);   // 82, A4 79
    return page;
}

int WinAnsiAdvance(std::string_view winAnsiText, const WinAnsiWidths& widths) {
    int advance = 0;
    for (const char c : winAnsiText) {
        advance += widths[static_cast<unsigned char>(c)];
    }
    return advance;
}

Bitmap24 WeekendPicture() {
    return Bitmap24::Filled(105, 137, 192, 192, 192);
}

int TitleX(int titleWidth, int pageWidth) {
    // pageWidth / 2 - w / 2 - 70, in halves: (pageWidth - 140 - w) / 2
    return RoundedHalfToEven(pageWidth - 2 * 70 - titleWidth, 2);
}

int CentredTitleX(int pageWidth, int size, int advance) {
    return RoundedHalfToEven(1000 * pageWidth - size * advance, 2000);
}

std::vector<int> TitlePlaces(const PdfPageGeometry& page, const std::vector<std::string>& winAnsi,
                             const std::vector<GlyphRun>& glyphs, std::size_t firstTitle,
                             const std::optional<WinAnsiWidths>& boldWidths,
                             const std::vector<int>& windowWidths) {
    std::vector<int> places;
    for (std::size_t k = 0; k < windowWidths.size(); ++k) {
        // The title's width in thousandths of its size, from its glyphs or from the
        // standard font's widths.
        std::optional<int> advance;
        if (!glyphs.empty()) {
            advance = 0;
            for (const EmbeddedGlyph& glyph : glyphs[firstTitle + k]) {
                *advance += glyph.width;
            }
        } else if (boldWidths) {
            advance = 0;
            for (const char c : winAnsi[firstTitle + k]) {
                *advance += (*boldWidths)[static_cast<unsigned char>(c)];
            }
        }
        // Without the PDF font's widths, the window font's measure places it as on Letter.
        places.push_back(!page.titleByWindowFont && advance
                             ? CentredTitleX(page.pageWidth, page.titleSize, *advance)
                             : TitleX(windowWidths[k], page.pageWidth));
    }
    return places;
}

int BuiltInWindowFontWidth(std::string_view winAnsiText) {
    int width = 0;
    for (const char c : winAnsiText) {
        const auto byte = static_cast<std::uint8_t>(c);
        width += byte < 0x20 ? kDefaultCharacterWidth : kWindowFontWidths[byte - 0x20];
    }
    return width;
}

int BuiltInWindowFontWidthOfUtf8(std::string_view utf8Text) {
    const auto characters = Utf8ToCodePoints(utf8Text);
    if (!characters) {
        return BuiltInWindowFontWidth(utf8Text);
    }
    int width = 0;
    for (const char32_t c : *characters) {
        const auto winAnsi = Utf8ToWinAnsi(CodePointToUtf8(c));
        width += winAnsi ? BuiltInWindowFontWidth(*winAnsi) : kDefaultCharacterWidth;
    }
    return width;
}

}  // namespace tessaly
