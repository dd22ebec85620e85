// Zones on Linux: the system's zone data, through libical, and the C library's TZ.
#include <ctime>

#include "ical/time_zones.h"

namespace tessaly::ical {

icaltimezone* KnownZone(const std::string& tzid) {
    icaltimezone* zone = icaltimezone_get_builtin_timezone(tzid.c_str());
    return zone != nullptr ? zone : icaltimezone_get_builtin_timezone_from_tzid(tzid.c_str());
}

std::optional<std::int64_t> UserWallClock(std::int64_t instant) {
    const std::time_t time = static_cast<std::time_t>(instant);
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr) {
        return std::nullopt;
    }
    return std::int64_t{DayNumberOf(local.tm_year + 1900, local.tm_mon, local.tm_mday)} *
               kSecondsPerDay +
           local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

}  // namespace tessaly::ical
