// No libical is built for Windows: tessaly-cli refuses --events before it comes here.
#include "ical/event_files.h"

namespace tessaly {

EventFilesRead ReadEventFiles(const std::vector<std::string>&, DayRange) {
    EventFilesRead read;
    read.error =
        "--events is not supported in this build of tessaly-cli (it has no iCalendar reader)";
    return read;
}

}  // namespace tessaly
