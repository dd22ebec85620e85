#include "pdfcalendar/pdf_calendar.h"

#include <array>
#include <cstdint>

#include "core/product.h"
#include "core/rounding.h"
#include "core/winansi.h"
#include "pdfcalendar/pdf_table_texts.h"

namespace tessaly {

namespace {

constexpr int kPageWidth = 792;
constexpr int kPageHeight = 612;
constexpr int kGridLeft = 18;
constexpr int kGridTop = 100;

// The free width shared by seven columns; the free height divided by seven too, though
// the grid has six rows.
constexpr int kColumnWidth = RoundedHalfToEven(kPageWidth - 36, 7);  // 108
constexpr int kRowHeight = RoundedHalfToEven(kPageHeight - 40, 7);   // 82

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

Bitmap24 WeekendPicture() {
    return Bitmap24::Filled(105, 137, 192, 192, 192);
}

int TitleX(int titleWidth) {
    // 792 / 2 - w / 2 - 70, in halves: (652 - w) / 2
    return RoundedHalfToEven(kPageWidth - 2 * 70 - titleWidth, 2);
}

NameTable PdfNames(const NameTable& names,
                   const std::function<std::optional<std::string>(std::string_view)>& toWinAnsi) {
    NameTable shown = names;
    for (size_t slot = 0; slot < 7 + 12; ++slot) {
        const auto converted = toWinAnsi(names[slot]);
        if (converted) {
            shown[slot] = *converted;
        } else {
            shown[slot] = slot < 7 ? kEnglishDayNames[slot] : kEnglishMonthNames[slot - 7];
        }
    }
    return shown;
}

void WritePdfCalendar(TPrintPDF& pdf, const CalendarRequest& request, const NameTable& names,
                      const Bitmap24& weekendPicture, const PdfCalendarEnvironment& environment,
                      const std::string& fileName) {
    const PdfTableTexts table = ChoosePdfTableTexts(names, request, environment);
    const WeekLayout layout = LayoutOf(request.weekStart);
    const auto drawTableText = [&](int x, int y, std::size_t text) {
        if (table.embedded) {
            pdf.DrawGlyphs(x, y, table.embedded->runs[text]);
        } else {
            pdf.DrawText(x, y, table.winAnsi[text]);
        }
    };

    pdf.TITLE = "Calendar by Tessaly";
    pdf.Author = std::string("Tessaly, [") + kProductWebAddress + "]";
    pdf.Creator = "Tessaly";
    pdf.Producer = kMakerName;
    pdf.Compress = true;
    pdf.PageWidth = kPageWidth;
    pdf.PageHeight = kPageHeight;
    pdf.FileName = fileName;

    pdf.BeginDocument();
    if (table.embedded) {
        pdf.EmbedFont(table.embedded->font);
    }
    pdf.LineWidth = 1;
    pdf.DrawRectangle(12, 12, kPageWidth - 12, kPageHeight - 12);
    pdf.DrawRectangle(12, 12, kPageWidth - 12, kPageHeight - 12);

    pdf.Font.Face = 1;
    pdf.Font.Size = 36;
    drawTableText(TitleX(environment.titleWidth(table.windowTitle)), 50, PdfTableTexts::kTitle);

    pdf.Font.Size = 16;
    for (int column = 1; column <= 7; ++column) {
        drawTableText(24 + kColumnWidth * (column - 1), 92,
                      static_cast<std::size_t>(DaySlotOfColumn(layout, column)));
    }

    // The Monday layout's shading sits one point below each cell's top line.
    const int pictureTop = layout == WeekLayout::Monday ? kGridTop + 1 : kGridTop;
    for (int c = 0; c < 7; ++c) {
        for (int r = 0; r < 6; ++r) {
            const int left = kGridLeft + kColumnWidth * c;
            const int top = kGridTop + kRowHeight * r;
            if (request.colorWeekends && IsWeekendColumn(layout, c + 1)) {
                pdf.DrawImage(left, pictureTop + kRowHeight * r, weekendPicture);
            }
            pdf.DrawRectangle(left, top, left + kColumnWidth, top + kRowHeight);
            pdf.DrawText(24 + kColumnWidth * c, 120 + kRowHeight * r,
                         CellText(request, 7 * r + c + 1));
        }
    }
    pdf.EndDocument();
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
