#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calendar/events.h"

namespace tessaly {

// The events of iCalendar files (paths as given) that touch `days`, in the local time
// zone; see ReadICalendarEvents. The files are only read. Throws TessalyError naming the
// file (and the line) when one cannot be read; `warn` hears what was read otherwise
// than written.
EventList ReadEventFiles(const std::vector<std::string>& paths, DayRange days,
                         const std::function<void(const std::string&)>& warn);

// Times of day as a locale writes them, short: its own notation without the seconds
// ("09:30", "9:30 AM", "9時30分"): the user's LC_TIME, or the installed locale `name`.
std::function<std::string(int hour, int minute)> LocaleShortTime(
    const std::optional<std::string>& name);

}  // namespace tessaly
