#include "pdfcalendar/pdf_calendar.h"

#include <array>
#include <cstdint>
#include <utility>

#include "core/product.h"
#include "core/rounding.h"
#include "core/winansi.h"
#include "pdfcalendar/pdf_event_lines.h"
#include "pdfcalendar/pdf_table_texts.h"

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

namespace {

// Draws the calendar's pages through one writer, a month a page.
class CalendarPages {
  public:
    CalendarPages(TPrintPDF& pdf, const PdfPageGeometry& page, const PdfTableTexts& table,
                  const MonthsEventLines& events, const PdfCalendarEnvironment& environment,
                  std::function<void(int x, int y)> shade)
        : pdf_(pdf),
          page_(page),
          table_(table),
          events_(events),
          environment_(environment),
          shade_(std::move(shade)) {}

    // Month `k` of the document: frame, title, headings, the grid, the week numbers.
    void Draw(const CalendarRequest& month, std::size_t k) {
        pdf_.DrawRectangle(page_.frameInset, page_.frameInset, page_.pageWidth - page_.frameInset,
                           page_.pageHeight - page_.frameInset);
        pdf_.DrawRectangle(page_.frameInset, page_.frameInset, page_.pageWidth - page_.frameInset,
                           page_.pageHeight - page_.frameInset);

        pdf_.Font.Face = 1;
        pdf_.Font.Size = page_.titleSize;
        const std::size_t title = PdfTableTexts::kFirstTitle + k;
        DrawTableText(TitleXOf(title, table_.windowTitles[k]), page_.titleBaseline, title);

        pdf_.Font.Size = page_.textSize;
        const WeekLayout layout = LayoutOf(month.weekStart);
        for (int column = 1; column <= 7; ++column) {
            DrawTableText(ColumnLeft(column - 1) + page_.textInset, page_.headingBaseline,
                          static_cast<std::size_t>(DaySlotOfColumn(layout, column)));
        }
        for (int c = 0; c < 7; ++c) {
            for (int r = 0; r < 6; ++r) {
                DrawDayCell(month, k, c, r);
            }
        }
        if (month.weekNumbers) {
            DrawWeekNumbers(month);
        }
    }

  private:
    int ColumnLeft(int c) const { return page_.gridLeft + page_.columnWidth * c; }
    int RowTop(int r) const { return page_.gridTop + page_.rowHeight * r; }

    // Cell (c, r), in this order: its shading, its outline, its day number, its events.
    void DrawDayCell(const CalendarRequest& month, std::size_t k, int c, int r) {
        const WeekLayout layout = LayoutOf(month.weekStart);
        const int left = ColumnLeft(c);
        const int top = RowTop(r);
        if (month.colorWeekends && IsWeekendColumn(layout, c + 1)) {
            shade_(left, top + (layout == WeekLayout::Monday ? page_.mondayShadingDrop : 0));
        }
        pdf_.DrawRectangle(left, top, left + page_.columnWidth, top + page_.rowHeight);
        const std::string day = CellText(month, 7 * r + c + 1);
        pdf_.DrawText(left + page_.textInset, top + page_.numberBaseline, day);
        if (!day.empty() && k < events_.size()) {
            DrawEvents(events_[k][static_cast<std::size_t>(std::stoi(day) - 1)],
                       left + page_.textInset, top + page_.eventBaseline);
        }
    }

    void DrawEvents(const std::vector<PdfEventLine>& lines, int x, int y) {
        if (lines.empty()) {
            return;
        }
        pdf_.Font.Face = 0;
        pdf_.Font.Size = page_.eventSize;
        for (const PdfEventLine& line : lines) {
            if (line.glyphs) {
                pdf_.DrawGlyphs(x, y, *line.glyphs);
            } else {
                pdf_.DrawText(x, y, line.winAnsi);
            }
            y += page_.eventLeading;
        }
        pdf_.Font.Face = 1;
        pdf_.Font.Size = page_.textSize;
    }

    // In small type in the first cell's lower left corner, below any day number.
    void DrawWeekNumbers(const CalendarRequest& month) {
        pdf_.Font.Face = 0;
        pdf_.Font.Size = page_.weekNumberSize;
        for (int r = 0; r < 6; ++r) {
            if (const int week = IsoWeekOfRow(month, r); week > 0) {
                pdf_.DrawText(ColumnLeft(0) + page_.textInset,
                              RowTop(r + 1) - page_.weekNumberBaseline,
                              "Wk " + std::to_string(week));
            }
        }
        pdf_.Font.Face = 1;
    }

    void DrawTableText(int x, int y, std::size_t text) {
        if (table_.tableEmbedded) {
            pdf_.DrawGlyphs(x, y, table_.embedded->runs[text]);
        } else {
            pdf_.DrawText(x, y, table_.winAnsi[text]);
        }
    }

    int TitleXOf(std::size_t title, const std::string& windowTitle) {
        if (!page_.titleByWindowFont) {
            if (const auto advance = TitleAdvance(title)) {
                return CentredTitleX(page_.pageWidth, page_.titleSize, *advance);
            }
        }
        // Without the PDF font's widths, the window font's measure places it as on Letter.
        return TitleX(environment_.titleWidth(windowTitle), page_.pageWidth);
    }

    // The title's width in thousandths of its size, from its glyphs or from the
    // standard font's widths.
    std::optional<int> TitleAdvance(std::size_t title) {
        int advance = 0;
        if (table_.tableEmbedded) {
            for (const EmbeddedGlyph& glyph : table_.embedded->runs[title]) {
                advance += glyph.width;
            }
            return advance;
        }
        if (!titleFontWidthsAsked_) {
            titleFontWidthsAsked_ = true;
            if (environment_.titleFontWidths) {
                titleFontWidths_ = environment_.titleFontWidths();
            }
        }
        if (!titleFontWidths_) {
            return std::nullopt;
        }
        for (const char c : table_.winAnsi[title]) {
            advance += (*titleFontWidths_)[static_cast<unsigned char>(c)];
        }
        return advance;
    }

    TPrintPDF& pdf_;
    const PdfPageGeometry& page_;
    const PdfTableTexts& table_;
    const MonthsEventLines& events_;
    const PdfCalendarEnvironment& environment_;
    std::function<void(int x, int y)> shade_;
    bool titleFontWidthsAsked_ = false;
    std::optional<WinAnsiWidths> titleFontWidths_;
};

}  // namespace

ByteSpans WritePdfCalendar(TPrintPDF& pdf, const CalendarRequest& request, const NameTable& names,
                           const Bitmap24& weekendPicture,
                           const PdfCalendarEnvironment& environment, const std::string& fileName) {
    const std::vector<CalendarRequest> months = MonthsOf(request);
    const PdfPageGeometry page = PageGeometryOf(request.paper);
    MonthsEventTexts eventTexts;
    if (environment.events != nullptr) {
        eventTexts = ShownEventTextsOfMonths(months, *environment.events, page);
    }
    const std::vector<std::string> embeddedEventTexts = EventTextsForEmbeddedFace(eventTexts);
    const PdfTableTexts table = ChoosePdfTableTexts(names, months, environment, embeddedEventTexts);
    MonthsEventLines eventLines;
    if (environment.events != nullptr) {
        eventLines = FitEventLines(eventTexts, embeddedEventTexts, table, page);
    }

    pdf.TITLE = "Calendar by Tessaly";
    pdf.Author = std::string("Tessaly, [") + kProductWebAddress + "]";
    pdf.Creator = "Tessaly";
    pdf.Producer = kMakerName;
    pdf.PageWidth = page.pageWidth;
    pdf.PageHeight = page.pageHeight;
    pdf.FileName = fileName;

    pdf.BeginDocument();
    if (table.embedded) {
        pdf.EmbedFont(table.embedded->font);
    }
    pdf.LineWidth = 1;

    // One month keeps a picture object per shaded cell, as it always has; with more,
    // every page shows the one object, or 24 months would take 12 MB.
    std::int32_t sharedPicture = 0;
    CalendarPages pages(pdf, page, table, eventLines, environment, [&](int x, int y) {
        if (months.size() == 1) {
            pdf.DrawImage(x, y, weekendPicture);
            return;
        }
        if (sharedPicture == 0) {
            sharedPicture = pdf.AddPicture(weekendPicture);
        }
        pdf.DrawPicture(x, y, sharedPicture);
    });
    for (std::size_t k = 0; k < months.size(); ++k) {
        if (k > 0) {
            pdf.NewPage();
        }
        pages.Draw(months[k], k);
        if (environment.pageDone) {
            environment.pageDone(static_cast<int>(k) + 1);
        }
    }
    return pdf.EndDocument();
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
