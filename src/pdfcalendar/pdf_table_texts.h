#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "document/calendar_document.h"
#include "pdf/embedded_font.h"
#include "pdfcalendar/pdf_calendar.h"
#include "pdfcalendar/pdf_event_lines.h"

namespace tessaly {

// The most numbers a page writes: 31 days, 53 weeks.
inline constexpr int kMostNumeral = 53;

// The texts a calendar's PDF draws, before any face is chosen for them.
struct PdfCalendarTexts {
    // The table: the seven day names, Sunday first, then each page's title (UTF-8), then,
    // where the document's digits are not ASCII's, the numbers 1..kMostNumeral in them.
    static constexpr std::size_t kFirstTitle = 7;
    std::vector<std::string> table;
    std::size_t firstNumeral = 0;  // 0: no numbers in the table
    // Windows-1252 holds the whole table, which the standard font then draws.
    bool tableInWinAnsi = false;
    // The event lines of each day's cell.
    MonthsEventTexts events;
    // The event lines that Windows-1252 cannot hold, each once, then "…": what
    // embedded faces are asked to draw besides the table.
    std::vector<std::string> eventsForFace;
};

PdfCalendarTexts PdfTextsOf(const CalendarDocument& document, const PdfPageGeometry& page);

// What the machine's fonts are asked for these texts: the table in one bold face unless
// Windows-1252 holds it, and each event line in a regular face beside Helvetica's lines.
EmbeddingRequest FaceRequestOf(const PdfCalendarTexts& texts);

// The table as the PDF draws it. The whole table changes face together, on every page:
// one row in one typeface, and copying it gives one language. The localized names as
// they are when Windows-1252 holds them all, so such files stay as they always were;
// otherwise all of them in the embedded bold face when one could draw them; otherwise
// all in English.
struct PdfTableTexts {
    std::vector<std::string> winAnsi;  // in Windows-1252, for the standard font
    std::vector<GlyphRun> glyphs;      // or in the embedded face
    // Each page's title as it is shown (UTF-8), which the window font measures.
    std::vector<std::string> shownTitles;
    // Where the numbers 1..kMostNumeral start among the texts; 0 where they are drawn in
    // ASCII digits in the standard font.
    std::size_t firstNumeral = 0;

    bool Embedded() const { return !glyphs.empty(); }
    // The text of `number` (1..kMostNumeral) in the table.
    std::size_t Numeral(int number) const {
        return firstNumeral + static_cast<std::size_t>(number - 1);
    }
};

// The numbers 1..kMostNumeral in a document's digits, appended to `table` where they are
// not ASCII's; where they start (0 where they are ASCII's).
std::size_t AppendNumerals(std::vector<std::string>& table, const CalendarDocument& document);

// Advance of table text `text` in thousandths of its size: its glyphs', or its
// Windows-1252 characters' in `widths`.
int TableTextAdvance(const PdfTableTexts& table, std::size_t text, const WinAnsiWidths& widths);

PdfTableTexts ChoosePdfTable(const CalendarDocument& document, const PdfCalendarTexts& texts,
                             const EmbeddingResult& faces);

}  // namespace tessaly
