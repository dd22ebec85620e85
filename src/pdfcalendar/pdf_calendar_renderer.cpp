#include "pdfcalendar/pdf_calendar_renderer.h"

#include <string>

#include "core/product.h"
#include "core/rounding.h"

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
    return layout;
}

void PlaceTitles(PdfCalendarLayout& layout, const std::optional<WinAnsiWidths>& boldWidths,
                 const std::vector<int>& windowWidths) {
    layout.titleX = TitlePlaces(layout.page, layout.table.winAnsi, layout.table.glyphs,
                                PdfCalendarTexts::kFirstTitle, boldWidths, windowWidths);
}

PdfCalendarRenderer::PdfCalendarRenderer(TPrintPDF& pdf, const CalendarDocument& document,
                                         const PdfCalendarLayout& layout)
    : pdf_(pdf), document_(document), layout_(layout) {
    pdf_.TITLE = "Calendar by Tessaly";
    pdf_.Author = std::string("Tessaly, [") + kProductWebAddress + "]";
    pdf_.Creator = "Tessaly";
    pdf_.Producer = kMakerName;
    pdf_.PageWidth = layout_.page.pageWidth;
    pdf_.PageHeight = layout_.page.pageHeight;
    pdf_.BeginDocument();
    for (const EmbeddedFont& font : layout_.fonts) {
        pdf_.EmbedFont(font);
    }
    pdf_.LineWidth = 1;
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
        DrawTableText(ColumnLeft(c) + page.textInset, page.headingBaseline,
                      static_cast<std::size_t>(month.columns[static_cast<std::size_t>(c)].weekday));
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
    pdf_.DrawText(left + page.textInset, top + page.numberBaseline, cell.text);
    if (document_.dayOfYear && cell.day > 0) {
        DrawDayOfYear(cell, left + page.columnWidth, top);
    }
    if (cell.day > 0 && k < layout_.events.size()) {
        DrawEvents(layout_.events[k][static_cast<std::size_t>(cell.day - 1)], left + page.textInset,
                   top + page.eventBaseline);
    }
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

void PdfCalendarRenderer::DrawEvents(const std::vector<PdfEventLine>& lines, int x, int y) {
    if (lines.empty()) {
        return;
    }
    const PdfPageGeometry& page = layout_.page;
    pdf_.Font.Face = 0;
    pdf_.Font.Size = page.eventSize;
    for (const PdfEventLine& line : lines) {
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

void PdfCalendarRenderer::DrawDayOfYear(const DayCell& cell, int right, int top) {
    const PdfPageGeometry& page = layout_.page;
    const std::string text = std::to_string(cell.dayOfYear) + "/" + std::to_string(cell.daysLeft);
    int advance = 0;
    for (const char c : text) {
        advance += HelveticaWidths()[static_cast<unsigned char>(c)];
    }
    pdf_.Font.Face = 0;
    pdf_.Font.Size = page.dayOfYearSize;
    pdf_.DrawText(
        right - page.dayOfYearRightRoom - RoundedHalfToEven(advance * page.dayOfYearSize, 1000),
        top + page.dayOfYearBaseline, text);
    pdf_.Font.Face = 1;
    pdf_.Font.Size = page.textSize;
}

// In small type in the first cell's lower left corner, below any day number.
void PdfCalendarRenderer::DrawWeekNumbers(const MonthPage& month) {
    const PdfPageGeometry& page = layout_.page;
    pdf_.Font.Face = 0;
    pdf_.Font.Size = page.weekNumberSize;
    for (int r = 0; r < 6; ++r) {
        if (const int week = month.weekNumbers[static_cast<std::size_t>(r)]; week > 0) {
            pdf_.DrawText(ColumnLeft(0) + page.textInset, RowTop(r + 1) - page.weekNumberBaseline,
                          "Wk " + std::to_string(week));
        }
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
