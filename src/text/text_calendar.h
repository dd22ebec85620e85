#pragma once

#include <optional>
#include <string>

#include "core/display_columns.h"
#include "document/calendar_document.h"

namespace tessaly {

// The day a text calendar shows in reverse video.
struct TextHighlight {
    int year = 2000;
    int monthIndex = 0;  // 0 = January
    int day = 1;
};

// A calendar document as terminal text, laid out as the `cal` program lays it out:
// the title centred over the grid, the day initials right-aligned above day numbers
// right-aligned in columns two wide (three for days of the year), a column apart; week
// numbers in a first column headed "Wk". A month shows the weeks it has and lists its
// days' events under the grid ("Tue  1  09:30  Stand-up"), months one under another.
// A year page is three months a row, six weeks each, its title centred over them. No
// line ends in blanks; every line ends in LF. Widths are counted in display columns as
// `columns` measures them; `today`, when given, is shown in reverse video.
std::string TextCalendar(const CalendarDocument& document, const DisplayColumns& columns,
                         const std::optional<TextHighlight>& today);

}  // namespace tessaly
