// The program's side of the events module: loaded on first use, so that every other
// start stays free of libical and ICU.
#include "ical/event_files.h"

#include "ical/events_module.h"
#include "platform/modules_posix.h"

namespace tessaly {

EventFilesRead ReadEventFiles(const std::vector<std::string>& paths, DayRange days) {
    static std::string failure;
    static const EventsModule* const module =
        LoadModuleInterface<EventsModule>({TESSALY_EVENTS_MODULE_FROM_PROGRAM,
                                           TESSALY_EVENTS_MODULE_NAME, TESSALY_EVENTS_MODULE_BUILT},
                                          kEventsModuleVersion, &failure);
    EventFilesRead read;
    if (module == nullptr) {
        read.error = "--events: the iCalendar reader cannot be loaded: " + failure;
        return read;
    }
    module->readEventFiles(paths, days.first, days.last, read);
    return read;
}

}  // namespace tessaly
