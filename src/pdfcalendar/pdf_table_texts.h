#pragma once

#include <array>
#include <optional>
#include <string>

#include "calendar/month_grid.h"
#include "pdf/embedded_font.h"
#include "pdfcalendar/pdf_calendar.h"

namespace tessaly {

// The eight texts of a calendar's table as the PDF draws them: the seven day names,
// Sunday first, then the title.
struct PdfTableTexts {
    static constexpr std::size_t kTitle = 7;
    // In Windows-1252 for the standard font; used when `embedded` is empty.
    std::array<std::string, 8> winAnsi;
    // The same texts as glyph runs of one embedded face.
    std::optional<EmbeddedTexts> embedded;
    // The title as the window would show it, whose width in the window font places it.
    std::string windowTitle;
};

// The localized names as they are when Windows-1252 holds all eight texts, so such
// files stay as they always were; otherwise all eight in one embedded face when the
// environment can draw them; otherwise all eight in English. The whole table changes
// face together: one row in one typeface, and copying it gives one language.
PdfTableTexts ChoosePdfTableTexts(const NameTable& names, const CalendarRequest& request,
                                  const PdfCalendarEnvironment& environment);

}  // namespace tessaly
