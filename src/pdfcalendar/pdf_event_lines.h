#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/events.h"
#include "document/calendar_document.h"
#include "pdf/embedded_font.h"
#include "pdfcalendar/pdf_calendar.h"
#include "pdfcalendar/standard_font_widths.h"

namespace tessaly {

// One line under a day number: Windows-1252 text for Helvetica, or, when `glyphs` holds
// a run, glyphs of the document's embedded faces.
struct PdfEventLine {
    std::string winAnsi;
    std::optional<GlyphRun> glyphs;
};

// The texts a cell of `lines` lines shows of a day's events: all of them when they fit,
// else as many as leave the last line for "+N more".
std::vector<std::string> ShownEventTexts(const DayEvents& events, int lines);

// Windows-1252 text no wider than `width` points at `size` points in a font of
// `widths`: as it is when it fits, else cut short, its trailing blanks dropped, and
// ended with "…".
std::string FitWinAnsi(std::string_view text, const WinAnsiWidths& widths, int size, int width);

// The same for a run of glyphs that draws the UTF-8 `text`, cut between characters; a
// run that reads from right to left keeps its start, at the right, and takes the "…"
// (`ellipsis`, empty where the face has none) at its left.
GlyphRun FitGlyphs(const GlyphRun& run, std::string_view text, const GlyphRun& ellipsis, int size,
                   int width);

// For each page, for each of its days (day 1 first), the texts its cell shows.
using MonthsEventTexts = std::vector<std::vector<std::vector<std::string>>>;
// The same as lines to draw.
using MonthsEventLines = std::vector<std::vector<std::vector<PdfEventLine>>>;

// How many event lines a cell has room for; fewer in one that shows its week number.
int EventLinesInCell(const PdfPageGeometry& page, bool showsWeekNumber);

// The event texts the cells of a document's pages show.
MonthsEventTexts ShownEventTextsOfPages(const CalendarDocument& document,
                                        const PdfPageGeometry& page);

// The texts among them that Windows-1252 cannot hold, each once, then "…": what the
// embedded faces are asked to draw besides the table (the "…" last, so that it goes to
// a face the lines take).
std::vector<std::string> EventTextsForEmbeddedFace(const MonthsEventTexts& shown);

// The texts as lines cut to their cells: in Helvetica where Windows-1252 holds them,
// else in the embedded face that drew them (`runs[k]` draws `forEmbeddedFace[k]`; a cut
// line ends in the "…" of whichever face drew that), else in Helvetica with "?" for
// each character it cannot show.
MonthsEventLines FitEventLines(const MonthsEventTexts& shown,
                               const std::vector<std::string>& forEmbeddedFace,
                               const std::vector<std::optional<GlyphRun>>& runs,
                               const PdfPageGeometry& page);

}  // namespace tessaly
