#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ical/event_files.h"

namespace tessaly {

// What libtessaly-events.so offers the program. Nothing is thrown across it.
struct EventsModule {
    std::uint32_t version;
    void (*readEventFiles)(const std::vector<std::string>& paths, std::int32_t firstDay,
                           std::int32_t lastDay, EventFilesRead& read);
};

// Raised with every change of EventsModule or of what it passes.
inline constexpr std::uint32_t kEventsModuleVersion = 1;

}  // namespace tessaly

// The module's one exported function, found by the name "TessalyModule".
extern "C" const tessaly::EventsModule* TessalyModule();
