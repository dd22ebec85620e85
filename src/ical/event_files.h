#pragma once

#include <string>
#include <vector>

#include "calendar/events.h"

namespace tessaly {

// What reading iCalendar files gave: the events, what was read otherwise than written
// (warnings, in order), and, when a file could not be read, why (empty when all were).
struct EventFilesRead {
    EventList events;
    std::vector<std::string> warnings;
    std::string error;
};

// Reads the files (paths as given) for the days asked for, in the local time zone; the
// files are only read. Never throws for a bad file: the error says which file and line.
// On Linux the events module does the reading, loaded on first use; on Windows the
// reader is part of the program. The one way into iCalendar files.
EventFilesRead ReadEventFiles(const std::vector<std::string>& paths, DayRange days);

}  // namespace tessaly
