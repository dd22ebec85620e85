#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/byte_spans.h"
#include "document/calendar_document.h"
#include "pdf/bitmap.h"
#include "pdf/embedded_font.h"
#include "pdf/print_pdf.h"
#include "pdfcalendar/pdf_calendar.h"
#include "pdfcalendar/pdf_event_lines.h"
#include "pdfcalendar/pdf_table_texts.h"

namespace tessaly {

// Everything a calendar's PDF pages are drawn from, decided before the first is drawn.
struct PdfCalendarLayout {
    PdfPageGeometry page;
    PdfTableTexts table;
    // The embedded faces, in the order the glyphs name them: the table's bold one first
    // where it has one, then the regular ones of the event lines.
    std::vector<EmbeddedFont> fonts;
    MonthsEventLines events;
    std::vector<int> titleX;  // a page each
    Bitmap24 weekendPicture;  // empty where the weekends are not shaded
    // The grid mirrored: the week's first day at the right, texts at their cells' right.
    bool rightToLeft = false;
};

// The layout of a document's PDF from its texts and what the fonts gave for them; the
// titles are placed afterwards, once each shown title is measured (PlaceTitles).
PdfCalendarLayout LayOutPdfCalendar(const CalendarDocument& document, const PdfCalendarTexts& texts,
                                    const EmbeddingResult& faces);

// Places each page's title by `layout.table.shownTitles`' widths in the window font
// (`windowWidths`, a title each) or, where the page centres it by its own width, by
// Helvetica-Bold's widths or its glyphs. A right-to-left page centres its titles by their
// own widths, the built-in ones where none are given.
void PlaceTitles(PdfCalendarLayout& layout, const std::optional<WinAnsiWidths>& boldWidths,
                 const std::vector<int>& windowWidths);

// Starts a calendar's file in `pdf`: its information, its page's size and the faces it
// embeds. Each layout's renderer begins this way.
void BeginCalendarFile(TPrintPDF& pdf, int pageWidth, int pageHeight,
                       const std::vector<EmbeddedFont>& fonts);

// Draws a calendar document's pages through one writer, a month a page: frame, title,
// headings, the grid column by column (each day's events under its number), the week
// numbers. A file of one month keeps one picture object per shaded cell; more months
// share one. A right-to-left document is drawn mirrored: its first column at the right,
// each heading, number and event line ending at its cell's right, the week numbers in
// the rightmost cells and the days of the year at the left.
class PdfCalendarRenderer {
  public:
    // Sets the document's properties (title, author, creator, producer, page size) and
    // begins it; `pdf`, `document` and `layout` must
    // outlive the renderer.
    PdfCalendarRenderer(TPrintPDF& pdf, const CalendarDocument& document,
                        const PdfCalendarLayout& layout);

    // Page `k` of the document; pages are drawn in order.
    void DrawPage(std::size_t k);
    // The finished file, valid as long as the writer keeps it.
    ByteSpans Finish();

  private:
    // The left of the grid's column `c` (0 the week's first day) as it stands on the page.
    int ColumnLeft(int c) const {
        return layout_.page.gridLeft + layout_.page.columnWidth * (layout_.rightToLeft ? 6 - c : c);
    }
    int RowTop(int r) const { return layout_.page.gridTop + layout_.page.rowHeight * r; }
    // Where a text `advance` thousandths of the size wide starts at the start of column
    // `c`: `inset` into it from its left, or from its right in a right-to-left grid.
    int StartX(int c, int inset, int size, int advance) const;
    void DrawDayCell(const MonthPage& month, std::size_t k, int c, int r);
    void DrawNumber(int c, int y, int number, const std::string& text);
    void DrawEvents(const std::vector<PdfEventLine>& lines, int c, int y);
    void DrawDayOfYear(const DayCell& cell, int c, int top);
    void DrawWeekNumbers(const MonthPage& month);
    void DrawTableText(int x, int y, std::size_t text);
    void Shade(int x, int y);

    TPrintPDF& pdf_;
    const CalendarDocument& document_;
    const PdfCalendarLayout& layout_;
    std::int32_t sharedPicture_ = 0;
};

// A document's PDF drawn whole into `pdf` at once, every title `titleWidth` window-font
// pixels wide, with what the fonts gave: for callers that tell of no page and measure no
// title (tests, benchmarks).
ByteSpans DrawPdfCalendar(TPrintPDF& pdf, const CalendarDocument& document,
                          const EmbeddingResult& faces, int titleWidth);

}  // namespace tessaly
