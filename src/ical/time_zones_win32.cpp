// Zones on Windows: libical's zone data carried in the program, and the user's zone by
// the system's rules.
#include <windows.h>

#include <algorithm>
#include <map>

#include "ical/libical_zones_win32.h"
#include "ical/time_zones.h"

namespace tessaly::ical {

namespace {

// Where a TZID names a zone by location after a prefix, as libical's own TZIDs and those
// of the programs it comes from do ("/citadel.org/20220930_1/Europe/Berlin"): the
// prefix and how many slashes it has.
constexpr std::pair<std::string_view, int> kPrefixes[] = {
    {"/freeassociation.sourceforge.net/Tzfile/", 3},
    {"/freeassociation.sourceforge.net/", 2},
    {"/citadel.org/", 3},
};

std::string_view LocationOf(std::string_view tzid) {
    for (const auto& [prefix, slashes] : kPrefixes) {
        if (tzid.starts_with(prefix)) {
            std::string_view rest = tzid;
            for (int k = 0; k < slashes && !rest.empty(); ++k) {
                const auto slash = rest.find('/');
                rest =
                    slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
            }
            return rest;
        }
    }
    return tzid;
}

struct ZoneFree {
    void operator()(icaltimezone* zone) const { icaltimezone_free(zone, 1); }
};

}  // namespace

icaltimezone* KnownZone(const std::string& tzid) {
    if (tzid == "UTC" || tzid == "GMT") {
        return icaltimezone_get_utc_timezone();
    }
    const std::string_view location = LocationOf(tzid);
    // Made once a run, and kept to its end.
    static std::map<std::string, std::unique_ptr<icaltimezone, ZoneFree>, std::less<>> made;
    if (const auto known = made.find(location); known != made.end()) {
        return known->second.get();
    }
    const ZoneText* const end = kLibicalZones + kLibicalZoneCount;
    const ZoneText* const text = std::find_if(
        kLibicalZones, end, [&](const ZoneText& zone) { return zone.location == location; });
    if (text == end) {
        return nullptr;
    }
    const std::string vtimezone(text->vtimezone);
    icalcomponent* component = icalparser_parse_string(vtimezone.c_str());
    std::unique_ptr<icaltimezone, ZoneFree> zone(icaltimezone_new());
    if (component == nullptr || !zone || icaltimezone_set_component(zone.get(), component) == 0) {
        if (component != nullptr) {
            icalcomponent_free(component);
        }
        return nullptr;
    }
    return made.emplace(location, std::move(zone)).first->second.get();
}

std::optional<std::int64_t> UserWallClock(std::int64_t instant) {
    // The user's zone as the session started; the rules of each year as the system
    // gives them (a zone's rules change over the years), without daylight saving time
    // where the user turned its adjustment off.
    static DYNAMIC_TIME_ZONE_INFORMATION zone = [] {
        DYNAMIC_TIME_ZONE_INFORMATION read{};
        if (::GetDynamicTimeZoneInformation(&read) == TIME_ZONE_ID_INVALID) {
            read = {};
        }
        return read;
    }();
    static std::map<WORD, TIME_ZONE_INFORMATION> rulesOfYears;
    // FILETIME counts 100 ns from 1601; no calendar goes past 9999.
    constexpr std::int64_t kFrom1601 = 11644473600;
    constexpr std::int64_t kTo10000 = 253402300800;
    if (instant < -kFrom1601 || instant >= kTo10000) {
        return std::nullopt;
    }
    ULARGE_INTEGER ticks{};
    ticks.QuadPart = static_cast<ULONGLONG>(instant + kFrom1601) * 10000000;
    const FILETIME file{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc{};
    if (!::FileTimeToSystemTime(&file, &utc)) {
        return std::nullopt;
    }
    auto rules = rulesOfYears.find(utc.wYear);
    if (rules == rulesOfYears.end()) {
        TIME_ZONE_INFORMATION year{};
        if (!::GetTimeZoneInformationForYear(utc.wYear, &zone, &year)) {
            year.Bias = zone.Bias;
            year.StandardBias = zone.StandardBias;
            year.DaylightBias = zone.DaylightBias;
            year.StandardDate = zone.StandardDate;
            year.DaylightDate = zone.DaylightDate;
        }
        if (zone.DynamicDaylightTimeDisabled) {
            year.StandardDate = {};
            year.DaylightDate = {};
        }
        rules = rulesOfYears.emplace(utc.wYear, year).first;
    }
    SYSTEMTIME local{};
    if (!::SystemTimeToTzSpecificLocalTime(&rules->second, &utc, &local)) {
        return std::nullopt;
    }
    return std::int64_t{DayNumberOf(local.wYear, local.wMonth - 1, local.wDay)} * kSecondsPerDay +
           local.wHour * 3600 + local.wMinute * 60 + local.wSecond;
}

}  // namespace tessaly::ical
