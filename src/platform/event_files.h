#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calendar/events.h"

namespace tessaly {

// The events of iCalendar files (paths as given) on `days`, in the local time zone, as
// each day lists them; a timed event's line begins with its start as the installed
// locale `timeLocale` writes a time short ("" the user's LC_TIME; nothing: "09:30").
// The files are only read. Throws TessalyError naming the file (and the line) when one
// cannot be read, and where this build reads none; `warn` hears what was read otherwise
// than written. The one way into iCalendar files.
EventCalendar ReadEventCalendar(const std::vector<std::string>& paths, DayRange days,
                                const std::optional<std::string>& timeLocale,
                                const std::function<void(const std::string&)>& warn);

}  // namespace tessaly
