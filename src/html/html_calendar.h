#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/events.h"
#include "calendar/month_grid.h"
#include "calendar/names.h"

namespace tessaly {

// The page's 91 lines (92 with the weekend colour rule), names and colour taken from
// `names` as they stand. More months give one table each, every one after the first on
// a new printed page; week numbers add a first column headed "Wk". `monthDone` hears
// of each month's table as it is finished (1, 2, ...).
// With `events` the page declares itself UTF-8, in which `names` must then be, and each
// day lists its events under its number, every text escaped.
std::vector<std::string> BuildHtmlCalendarLines(const CalendarRequest& request,
                                                const NameTable& names,
                                                std::string_view productWebAddress,
                                                const std::function<void(int)>& monthDone = {},
                                                const EventCalendar* events = nullptr);

// Text with &, <, >, " and ' as character references: it can only ever be text, in an
// element or in a quoted attribute.
std::string HtmlEscaped(std::string_view text);

// Every line followed by CR LF, the last one included.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace tessaly
