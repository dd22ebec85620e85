// No libical is built for Windows: tessaly-cli refuses --events before it comes here.
#include "core/errors.h"
#include "platform/event_files.h"

namespace tessaly {

EventCalendar ReadEventCalendar(const std::vector<std::string>&, DayRange,
                                const std::optional<std::string>&,
                                const std::function<void(const std::string&)>&) {
    throw TessalyError("--events is not supported in this build of tessaly-cli");
}

}  // namespace tessaly
