#pragma once

// libical's own zone data, which the Windows program carries: Windows names its zones
// otherwise and keeps no data by the names iCalendar files use. Written from the
// libical source by cmake/embed-zoneinfo.cmake.
#include <cstddef>
#include <string_view>

namespace tessaly::ical {

// A location ("Europe/Berlin") and its VTIMEZONE.
struct ZoneText {
    std::string_view location;
    std::string_view vtimezone;
};

extern const ZoneText kLibicalZones[];
extern const std::size_t kLibicalZoneCount;

}  // namespace tessaly::ical
