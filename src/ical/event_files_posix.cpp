// The program's side of the events module: loaded on first use, so that every other
// start stays free of libical and ICU.
#include "ical/event_files.h"

#include "ical/events_module.h"
#include "platform/modules_posix.h"

namespace tessaly {

namespace {

TessalyReadEventFilesFunction* LoadEventsModule(std::string& failure) {
    const auto symbols = LoadModule({TESSALY_EVENTS_MODULE_FROM_PROGRAM, TESSALY_EVENTS_MODULE_NAME,
                                     TESSALY_EVENTS_MODULE_BUILT},
                                    {kTessalyReadEventFilesSymbol}, &failure);
    return symbols.empty() ? nullptr : reinterpret_cast<TessalyReadEventFilesFunction*>(symbols[0]);
}

}  // namespace

EventFilesRead ReadEventFiles(const std::vector<std::string>& paths, DayRange days) {
    static std::string failure;
    static TessalyReadEventFilesFunction* const read = LoadEventsModule(failure);
    EventFilesRead result;
    if (read == nullptr) {
        result.error = "--events: the iCalendar reader cannot be loaded: " + failure;
        return result;
    }
    read(paths, days.first, days.last, result);
    return result;
}

}  // namespace tessaly
