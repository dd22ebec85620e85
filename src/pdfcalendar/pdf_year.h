#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/byte_spans.h"
#include "document/calendar_document.h"
#include "pdf/embedded_font.h"
#include "pdf/print_pdf.h"
#include "pdfcalendar/pdf_table_texts.h"

namespace tessaly {

// Where a year page puts things, in whole points from its top-left corner: the title
// over four columns of three small months, each a name, a row of initials and six weeks.
struct PdfYearGeometry {
    int pageWidth = 792;
    int pageHeight = 612;
    int titleSize = 28;  // Helvetica-Bold, as the months' names
    int titleBaseline = 48;
    int left = 36;  // the first column of months
    int top = 70;   // the first row of months
    int gapX = 24;
    int gapY = 16;
    int monthWidth = 162;
    int monthHeight = 160;
    int nameSize = 11;
    int nameBaseline = 11;  // below the month's top
    int initialsSize = 7;   // Helvetica
    int initialsBaseline = 27;
    int weeksTop = 32;  // the first week's top below the month's top
    int rowHeight = 20;
    int numberSize = 8;       // Helvetica; Helvetica-Bold and underlined on a day with events
    int numberBaseline = 13;  // below its row's top
    int numberRightRoom = 4;
    int weekNumberSize = 6;  // Helvetica-Oblique
    int weekendLevel = 192;  // the weekend columns' grey: the month page's silver
};

PdfYearGeometry YearGeometryOf(Paper paper);

// The year page's texts: the table holds the initials by weekday (Sunday first), then
// the twelve months' names in the page's order, then the page's title, then the numbers
// where the document's digits are not ASCII's (AppendNumerals).
inline constexpr std::size_t kYearFirstName = 7;
inline constexpr std::size_t kYearTitle = kYearFirstName + kMonthsOfYearPage;
PdfCalendarTexts PdfYearTextsOf(const CalendarDocument& document);

// What the machine's fonts are asked for the year page: its table in one face unless
// Windows-1252 holds it (the page measures Helvetica-Bold by widths of its own).
EmbeddingRequest YearFaceRequestOf(const PdfCalendarTexts& texts);

// The table as the page draws it: in Windows-1252 when that holds it all, else in the
// embedded face when the fonts drew it, else in English.
PdfTableTexts ChooseYearTable(const CalendarDocument& document, const PdfCalendarTexts& texts,
                              const EmbeddingResult& faces);

struct PdfYearLayout {
    PdfYearGeometry page;
    PdfTableTexts table;
    std::vector<EmbeddedFont> fonts;
};

PdfYearLayout LayOutPdfYear(const CalendarDocument& document, const PdfCalendarTexts& texts,
                            const EmbeddingResult& faces);

// Draws a document's year page through one writer: the title, then month by month the
// weekend columns shaded with filled rectangles (with colorWeekends), the name, the
// initials, the day numbers right-aligned (a day with events bold and underlined) and
// the week numbers in a narrow first column. A right-to-left page is mirrored: each row
// of months, and each month's days, from the right, the week numbers at its right.
class PdfYearRenderer {
  public:
    // Sets the document's properties and begins it; `pdf`, `document` and `layout` must
    // outlive the renderer.
    PdfYearRenderer(TPrintPDF& pdf, const CalendarDocument& document, const PdfYearLayout& layout);

    void DrawPage();
    ByteSpans Finish();

  private:
    void DrawMonth(const MonthPage& month, std::size_t k);
    // Text `text` of the table centred over [left, left + width], at `size`.
    void DrawCentred(std::size_t text, int left, int width, int baseline, int size, bool bold);
    void DrawTableText(int x, int y, std::size_t text);
    // Advance of a table text in thousandths of its size.
    int Advance(std::size_t text, bool bold) const;
    // Number `number` of the table ending at `right`, at `size`; its width.
    int DrawNumeral(int number, int right, int baseline, int size);

    TPrintPDF& pdf_;
    const CalendarDocument& document_;
    const PdfYearLayout& layout_;
};

// A year page drawn whole into `pdf` with what the fonts gave: for tests and benchmarks.
ByteSpans DrawPdfYear(TPrintPDF& pdf, const CalendarDocument& document,
                      const EmbeddingResult& faces);

}  // namespace tessaly
