#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ical/event_files.h"

// The entry point of libtessaly-events.so, found with dlsym by this name. Nothing is
// thrown across it.
extern "C" {
using TessalyReadEventFilesFunction = void(const std::vector<std::string>& paths,
                                           std::int32_t firstDay, std::int32_t lastDay,
                                           tessaly::EventFilesRead& read);
}
inline constexpr const char* kTessalyReadEventFilesSymbol = "TessalyReadEventFiles";
