#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/events.h"

namespace tessaly {

// What the events module gives back: the events, what it read otherwise than written,
// and, when a file could not be read, why (empty when all were).
struct EventFilesRead {
    EventList events;
    std::vector<std::string> warnings;
    std::string error;
};

}  // namespace tessaly

// The entry point of libtessaly-events.so, found with dlsym by this name. Nothing is
// thrown across it.
extern "C" {
using TessalyReadEventFilesFunction = void(const std::vector<std::string>& paths,
                                           std::int32_t firstDay, std::int32_t lastDay,
                                           tessaly::EventFilesRead& read);
}
inline constexpr const char* kTessalyReadEventFilesSymbol = "TessalyReadEventFiles";
