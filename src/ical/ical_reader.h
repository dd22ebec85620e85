#pragma once

#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/events.h"

namespace tessaly {

// An iCalendar text that cannot be read; the message names the file and, where it is
// known, the line.
class ICalendarError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Adds to `events` every occurrence of the VEVENTs of one iCalendar text that touches
// `days`, in the local time zone (TZ): recurrences (RRULE, RDATE, EXDATE, RECURRENCE-ID)
// expanded near those days only, times with a TZID through the text's VTIMEZONEs or
// the zones libical knows, cancelled events left out. `name` is the file's name for
// messages; what is read otherwise than written (an unknown time zone, a recurrence too
// fine to follow) goes into `warnings`. Throws ICalendarError when the text is not
// iCalendar, is cut short, or has an event line that cannot be read. Recurrences are no
// longer followed after `recurrenceDeadline`: libical may take long over a rule made to
// match almost nothing, and a file is not trusted.
void ReadICalendarEvents(const std::string& name, std::string_view text, DayRange days,
                         EventList& events, std::vector<std::string>& warnings,
                         std::chrono::steady_clock::time_point recurrenceDeadline);

// How long the recurrences of one run may take to follow.
inline constexpr std::chrono::seconds kMostRecurrenceTime{2};

// The most of an events file that is read: far more than any calendar export; a device
// that never ends (/dev/zero) stops here.
inline constexpr std::size_t kMostFileBytes = std::size_t{256} << 20;

}  // namespace tessaly
