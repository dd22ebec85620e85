#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calendar/month_grid.h"
#include "calendar/names.h"

namespace tessaly {

// The page's 91 lines (92 with the weekend colour rule), names and colour taken from
// `names` as they stand.
std::vector<std::string> BuildHtmlCalendarLines(const CalendarRequest& request,
                                                const NameTable& names,
                                                std::string_view productWebAddress);

// Every line followed by CR LF, the last one included.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace tessaly
