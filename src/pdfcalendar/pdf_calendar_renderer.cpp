#include "pdfcalendar/pdf_calendar_renderer.h"

#include <string>

#include "core/product.h"
#include "core/rounding.h"
#include "pdfcalendar/standard_font_widths.h"

namespace tessaly {

PdfCalendarLayout LayOutPdfCalendar(const CalendarDocument& document, const PdfCalendarTexts& texts,
                                    const EmbeddingResult& faces) {
    PdfCalendarLayout layout;
    layout.page = PageGeometryOf(document.paper);
    layout.table = ChoosePdfTable(document, texts, faces);
    layout.fonts = faces.fonts;
    layout.events = FitEventLines(texts.events, texts.eventsForFace, faces.each, layout.page);
    // Drawn only on shaded cells: 43 KB not made for a page without them.
    if (document.colorWeekends) {
        layout.weekendPicture = WeekendPicture();
    }
    layout.rightToLeft = document.rightToLeft;
    if (layout.rightToLeft) {
        layout.page.titleByWindowFont = false;
    }
    return layout;
}

void PlaceTitles(PdfCalendarLayout& layout, const std::optional<WinAnsiWidths>& boldWidths,
                 const std::vector<int>& windowWidths) {
    const std::optional<WinAnsiWidths> widths =
        boldWidths || !layout.rightToLeft ? boldWidths : HelveticaBoldWinAnsiWidths();
    layout.titleX = TitlePlaces(layout.page, layout.table.winAnsi, layout.table.glyphs,
                                PdfCalendarTexts::kFirstTitle, widths, windowWidths);
}

void BeginCalendarFile(TPrintPDF& pdf, int pageWidth, int pageHeight,
                       const std::vector<EmbeddedFont>& fonts) {
    pdf.TITLE = "Calendar by Tessaly";
    pdf.Author = std::string("Tessaly, [") + kProductWebAddress + "]";
    pdf.Creator = "Tessaly";
    pdf.Producer = kMakerName;
    pdf.PageWidth = pageWidth;
    pdf.PageHeight = pageHeight;
    pdf.BeginDocument();
    for (const EmbeddedFont& font : fonts) {
        pdf.EmbedFont(font);
    }
    pdf.LineWidth = 1;
}

PdfCalendarRenderer::PdfCalendarRenderer(TPrintPDF& pdf, const CalendarDocument& document,
                                         const PdfCalendarLayout& layout)
    : pdf_(pdf), document_(document), layout_(layout) {
    BeginCalendarFile(pdf_, layout_.page.pageWidth, layout_.page.pageHeight, layout_.fonts);
    pdf_.ExpectPages(static_cast<std::int32_t>(document_.pages.size()));
}

void PdfCalendarRenderer::DrawPage(std::size_t k) {
    const PdfPageGeometry& page = layout_.page;
    const MonthPage& month = document_.pages[k];
    if (k > 0) {
        pdf_.NewPage();
    }
    pdf_.DrawRectangle(page.frameInset, page.frameInset, page.pageWidth - page.frameInset,
                       page.pageHeight - page.frameInset);
    pdf_.DrawRectangle(page.frameInset, page.frameInset, page.pageWidth - page.frameInset,
                       page.pageHeight - page.frameInset);

    pdf_.Font.Face = 1;
    pdf_.Font.Size = page.titleSize;
    DrawTableText(layout_.titleX[k], page.titleBaseline, PdfCalendarTexts::kFirstTitle + k);

    pdf_.Font.Size = page.textSize;
    for (int c = 0; c < 7; ++c) {
        const auto heading =
            static_cast<std::size_t>(month.columns[static_cast<std::size_t>(c)].weekday);
        const int advance = layout_.rightToLeft ? TableTextAdvance(layout_.table, heading,
                                                                   HelveticaBoldWinAnsiWidths())
                                                : 0;
        DrawTableText(StartX(c, page.textInset, page.textSize, advance), page.headingBaseline,
                      heading);
    }
    for (int c = 0; c < 7; ++c) {
        for (int r = 0; r < 6; ++r) {
            DrawDayCell(month, k, c, r);
        }
    }
    if (document_.weekNumbers) {
        DrawWeekNumbers(month);
    }
}

ByteSpans PdfCalendarRenderer::Finish() {
    return pdf_.EndDocument();
}

int PdfCalendarRenderer::StartX(int c, int inset, int size, int advance) const {
    if (!layout_.rightToLeft) {
        return ColumnLeft(c) + inset;
    }
    return ColumnLeft(c) + layout_.page.columnWidth - inset -
           RoundedHalfToEven(size * advance, 1000);
}

// Cell (c, r), in this order: its shading, its outline, its day number, its events.
void PdfCalendarRenderer::DrawDayCell(const MonthPage& month, std::size_t k, int c, int r) {
    const PdfPageGeometry& page = layout_.page;
    const DayCell& cell = month.Cell(r, c);
    const int left = ColumnLeft(c);
    const int top = RowTop(r);
    if (document_.colorWeekends && cell.weekend) {
        const bool mondayFirst = month.columns[0].weekday == 1;
        Shade(left, top + (mondayFirst ? page.mondayShadingDrop : 0));
    }
    pdf_.DrawRectangle(left, top, left + page.columnWidth, top + page.rowHeight);
    DrawNumber(c, top + page.numberBaseline, cell.day, cell.text);
    if (document_.dayOfYear && cell.day > 0) {
        DrawDayOfYear(cell, c, top);
    }
    if (cell.day > 0 && k < layout_.events.size()) {
        DrawEvents(layout_.events[k][static_cast<std::size_t>(cell.day - 1)], c,
                   top + page.eventBaseline);
    }
}

// In Helvetica-Bold as the document writes it, or in the table's face where its digits
// are not ASCII's (in ASCII digits where no face drew them).
void PdfCalendarRenderer::DrawNumber(int c, int y, int number, const std::string& text) {
    const PdfPageGeometry& page = layout_.page;
    const PdfTableTexts& table = layout_.table;
    const WinAnsiWidths& bold = HelveticaBoldWinAnsiWidths();
    if (number > 0 && table.firstNumeral > 0) {
        const std::size_t numeral = table.Numeral(number);
        const int advance = layout_.rightToLeft ? TableTextAdvance(table, numeral, bold) : 0;
        DrawTableText(StartX(c, page.textInset, page.textSize, advance), y, numeral);
        return;
    }
    const std::string shown =
        number > 0 && !document_.digits.empty() ? std::to_string(number) : text;
    const int advance = layout_.rightToLeft ? WinAnsiAdvance(shown, bold) : 0;
    pdf_.DrawText(StartX(c, page.textInset, page.textSize, advance), y, shown);
}

// One month keeps a picture object per shaded cell, as it always has; with more, every
// page shows the one object, or 24 months would take 12 MB.
void PdfCalendarRenderer::Shade(int x, int y) {
    if (document_.pages.size() == 1) {
        pdf_.DrawImage(x, y, layout_.weekendPicture);
        return;
    }
    if (sharedPicture_ == 0) {
        sharedPicture_ = pdf_.AddPicture(layout_.weekendPicture);
    }
    pdf_.DrawPicture(x, y, sharedPicture_);
}

void PdfCalendarRenderer::DrawEvents(const std::vector<PdfEventLine>& lines, int c, int y) {
    if (lines.empty()) {
        return;
    }
    const PdfPageGeometry& page = layout_.page;
    pdf_.Font.Face = 0;
    pdf_.Font.Size = page.eventSize;
    for (const PdfEventLine& line : lines) {
        int advance = 0;
        if (layout_.rightToLeft && line.glyphs) {
            for (const EmbeddedGlyph& glyph : *line.glyphs) {
                advance += glyph.width;
            }
        } else if (layout_.rightToLeft) {
            advance = WinAnsiAdvance(line.winAnsi, HelveticaWidths());
        }
        const int x = StartX(c, page.textInset, page.eventSize, advance);
        if (line.glyphs) {
            pdf_.DrawGlyphs(x, y, *line.glyphs);
        } else {
            pdf_.DrawText(x, y, line.winAnsi);
        }
        y += page.eventLeading;
    }
    pdf_.Font.Face = 1;
    pdf_.Font.Size = page.textSize;
}

// In the cell's upper right corner, or its upper left in a right-to-left grid: at the end
// of its line, away from the day's number.
void PdfCalendarRenderer::DrawDayOfYear(const DayCell& cell, int c, int top) {
    const PdfPageGeometry& page = layout_.page;
    const std::string text = std::to_string(cell.dayOfYear) + "/" + std::to_string(cell.daysLeft);
    const int advance = WinAnsiAdvance(text, HelveticaWidths());
    pdf_.Font.Face = 0;
    pdf_.Font.Size = page.dayOfYearSize;
    const int left = ColumnLeft(c);
    pdf_.DrawText(layout_.rightToLeft ? left + page.dayOfYearRightRoom
                                      : left + page.columnWidth - page.dayOfYearRightRoom -
                                            RoundedHalfToEven(advance * page.dayOfYearSize, 1000),
                  top + page.dayOfYearBaseline, text);
    pdf_.Font.Face = 1;
    pdf_.Font.Size = page.textSize;
}

// In small type in the first cell's lower left corner (lower right, right to left),
// below any day number: "Wk 12", the number in the table's face where its digits are
// not ASCII's.
void PdfCalendarRenderer::DrawWeekNumbers(const MonthPage& month) {
    const PdfPageGeometry& page = layout_.page;
    const PdfTableTexts& table = layout_.table;
    const WinAnsiWidths& regular = HelveticaWidths();
    pdf_.Font.Face = 0;
    pdf_.Font.Size = page.weekNumberSize;
    for (int r = 0; r < 6; ++r) {
        const int week = month.weekNumbers[static_cast<std::size_t>(r)];
        if (week == 0) {
            continue;
        }
        const int y = RowTop(r + 1) - page.weekNumberBaseline;
        if (table.firstNumeral == 0) {
            const std::string text = "Wk " + std::to_string(week);
            const int advance = layout_.rightToLeft ? WinAnsiAdvance(text, regular) : 0;
            pdf_.DrawText(StartX(0, page.textInset, page.weekNumberSize, advance), y, text);
            continue;
        }
        const std::string label = "Wk ";
        const std::size_t numeral = table.Numeral(week);
        const int labelAdvance = WinAnsiAdvance(label, regular);
        const int advance =
            layout_.rightToLeft ? labelAdvance + TableTextAdvance(table, numeral, regular) : 0;
        const int x = StartX(0, page.textInset, page.weekNumberSize, advance);
        pdf_.DrawText(x, y, label);
        DrawTableText(x + RoundedHalfToEven(labelAdvance * page.weekNumberSize, 1000), y, numeral);
    }
    pdf_.Font.Face = 1;
}

void PdfCalendarRenderer::DrawTableText(int x, int y, std::size_t text) {
    if (layout_.table.Embedded()) {
        pdf_.DrawGlyphs(x, y, layout_.table.glyphs[text]);
    } else {
        pdf_.DrawText(x, y, layout_.table.winAnsi[text]);
    }
}

ByteSpans DrawPdfCalendar(TPrintPDF& pdf, const CalendarDocument& document,
                          const EmbeddingResult& faces, int titleWidth) {
    PdfCalendarLayout layout =
        LayOutPdfCalendar(document, PdfTextsOf(document, PageGeometryOf(document.paper)), faces);
    PlaceTitles(layout, faces.boldWidths, std::vector<int>(document.pages.size(), titleWidth));
    PdfCalendarRenderer renderer(pdf, document, layout);
    for (std::size_t k = 0; k < document.pages.size(); ++k) {
        renderer.DrawPage(k);
    }
    return renderer.Finish();
}

}  // namespace tessaly
