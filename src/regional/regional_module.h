#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/conventions.h"

namespace tessaly {

// What libtessaly-regional.so offers the program. Nothing is thrown across it.
struct RegionalModule {
    std::uint32_t version;
    // The conventions of locale `localeName` (a POSIX name: "ar_EG.UTF-8"), with the
    // titles of `months` (each a MonthKey); `error` says why they could not be read.
    void (*readConventions)(const std::string& localeName, const std::vector<std::int32_t>& months,
                            CalendarConventions& conventions, std::string& error);
};

// Raised with every change of RegionalModule or of what it passes.
inline constexpr std::uint32_t kRegionalModuleVersion = 1;

}  // namespace tessaly

// The module's one exported function, found by the name "TessalyModule".
extern "C" const tessaly::RegionalModule* TessalyModule();
