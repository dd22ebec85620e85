#include "core/errors.h"
#include "platform/event_files.h"
#include "platform/event_files_module.h"
#include "platform/locale_names.h"
#include "platform/modules_posix.h"

namespace tessaly {

namespace {

TessalyReadEventFilesFunction* LoadEventsModule(std::string& failure) {
    const auto symbols = LoadModule({TESSALY_EVENTS_MODULE_FROM_PROGRAM, TESSALY_EVENTS_MODULE_NAME,
                                     TESSALY_EVENTS_MODULE_BUILT},
                                    {kTessalyReadEventFilesSymbol}, &failure);
    return symbols.empty() ? nullptr : reinterpret_cast<TessalyReadEventFilesFunction*>(symbols[0]);
}

EventList ReadEventFiles(const std::vector<std::string>& paths, DayRange days,
                         const std::function<void(const std::string&)>& warn) {
    static std::string failure;
    static TessalyReadEventFilesFunction* const read = LoadEventsModule(failure);
    if (read == nullptr) {
        throw TessalyError("--events: the iCalendar reader cannot be loaded: " + failure);
    }
    EventFilesRead result;
    read(paths, days.first, days.last, result);
    for (const std::string& warning : result.warnings) {
        warn(warning);
    }
    if (!result.error.empty()) {
        throw TessalyError(result.error);
    }
    return std::move(result.events);
}

}  // namespace

EventCalendar ReadEventCalendar(const std::vector<std::string>& paths, DayRange days,
                                const std::optional<std::string>& timeLocale,
                                const std::function<void(const std::string&)>& warn) {
    const EventList events = ReadEventFiles(paths, days, warn);
    return ArrangeEvents(events, days,
                         timeLocale ? LocaleShortTime(*timeLocale)
                                    : std::function<std::string(int, int)>(TwentyFourHourTime));
}

}  // namespace tessaly
