#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendar/month_grid.h"
#include "pdf/embedded_font.h"
#include "pdfcalendar/pdf_calendar.h"

namespace tessaly {

// The texts of a calendar's table as the PDF draws them: the seven day names, Sunday
// first, then the title of each month.
struct PdfTableTexts {
    static constexpr std::size_t kFirstTitle = 7;
    // In Windows-1252 for the standard font; used when `embedded` is empty.
    std::vector<std::string> winAnsi;
    // The same texts as glyph runs of one embedded face.
    std::optional<EmbeddedTexts> embedded;
    // Each title as the window would show it, whose width in the window font places it.
    std::vector<std::string> windowTitles;
};

// The localized names as they are when Windows-1252 holds all the texts, so such files
// stay as they always were; otherwise all of them in one embedded face when the
// environment can draw them; otherwise all in English. The whole table changes face
// together, on every page: one row in one typeface, and copying it gives one language.
PdfTableTexts ChoosePdfTableTexts(const NameTable& names,
                                  const std::vector<CalendarRequest>& months,
                                  const PdfCalendarEnvironment& environment);

}  // namespace tessaly
