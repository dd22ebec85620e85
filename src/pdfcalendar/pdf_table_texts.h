#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendar/month_grid.h"
#include "pdf/embedded_font.h"
#include "pdfcalendar/pdf_calendar.h"

namespace tessaly {

// The texts of a calendar's table as the PDF draws them: the seven day names, Sunday
// first, then the title of each month; and other texts that only an embedded face can
// draw, which share its one font.
struct PdfTableTexts {
    static constexpr std::size_t kFirstTitle = 7;
    // In Windows-1252 for the standard font; used when the table is not embedded.
    std::vector<std::string> winAnsi;
    // The document's one embedded face and the runs drawn in it: first the table's texts
    // when `tableEmbedded`, then those of the other texts it could draw.
    std::optional<EmbeddedTexts> embedded;
    bool tableEmbedded = false;
    // For each other text, its run in `embedded`; nothing where no face could draw it
    // together with the rest.
    std::vector<std::optional<std::size_t>> otherRuns;
    // Each title as the window would show it, whose width in the window font places it.
    std::vector<std::string> windowTitles;
};

// The localized names as they are when Windows-1252 holds all the texts, so such files
// stay as they always were; otherwise all of them in one embedded face when the
// environment can draw them; otherwise all in English. The whole table changes face
// together, on every page: one row in one typeface, and copying it gives one language.
// `otherTexts` (UTF-8) go into the same face as far as one face can draw them with the
// table; they never cost the table its face.
PdfTableTexts ChoosePdfTableTexts(const NameTable& names,
                                  const std::vector<CalendarRequest>& months,
                                  const PdfCalendarEnvironment& environment,
                                  const std::vector<std::string>& otherTexts = {});

}  // namespace tessaly
