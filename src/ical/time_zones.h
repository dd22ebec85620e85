#pragma once

// Times as iCalendar writes them, and the zones they name: the file's own VTIMEZONEs,
// else those libical has built in.
#include <libical/ical.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "calendar/events.h"
#include "core/owned.h"

namespace tessaly::ical {

using Component = Owned<icalcomponent, icalcomponent_free>;

constexpr std::int64_t kSecondsPerDay = 86400;
// Recurrences are followed a little beyond the days asked for on either side: a local
// day and a day in another zone differ by up to 26 hours.
constexpr std::int32_t kMarginDays = 2;

// Days from 1970-01-01 of a date.
inline std::int32_t DayOf(const icaltimetype& t) {
    return DayNumberOf(t.year, t.month - 1, t.day);
}

// Wall-clock seconds of a time, as if it were UTC.
inline std::int64_t WallSeconds(const icaltimetype& t) {
    return std::int64_t{DayOf(t)} * kSecondsPerDay + t.hour * 3600 + t.minute * 60 + t.second;
}

inline bool Plausible(const icaltimetype& t) {
    return !icaltime_is_null_time(t) && t.year >= 1 && t.year <= 9999 && t.month >= 1 &&
           t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour >= 0 && t.hour < 24 &&
           t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second <= 60;
}

// Whether dates from `from` to `to`, by their wall clocks, come within the margin of
// `days`.
inline bool Near(const icaltimetype& from, const icaltimetype& to, DayRange days) {
    return Plausible(from) && Plausible(to) && DayOf(to) >= days.first - kMarginDays &&
           DayOf(from) <= days.last + kMarginDays;
}

// A time as a property gives it: a date, a floating time (zone null), or a time in UTC
// or a known zone.
struct Moment {
    icaltimetype time{};
    icaltimezone* zone = nullptr;
};

// Seconds from the epoch of a zoned time; a floating time's wall clock, as if UTC. A
// time its zone's clock gives twice is the first of them, one it skips is read with the
// offset from before the change (RFC 5545, 3.3.5).
std::int64_t Seconds(const Moment& moment);

// The zone a TZID names where the file has none of that name: on Linux one of the
// system's, through libical; on Windows one of libical's own, which the program
// carries. Null where none is known.
icaltimezone* KnownZone(const std::string& tzid);

// The user's wall clock at an instant (seconds from the epoch), in seconds as if UTC:
// by TZ on Linux, by the system's time zone and its rules for the year on Windows.
// Nothing where the system cannot tell.
std::optional<std::int64_t> UserWallClock(std::int64_t instant);

// Local (TZ) day and minute of a moment `later` seconds on; a date's day at minute -1.
std::pair<std::int32_t, std::int32_t> LocalDayAndMinute(const Moment& moment,
                                                        std::int64_t later = 0);

// How long each occurrence lasts.
struct Span {
    std::int32_t days = 1;     // for occurrences on dates
    std::int64_t seconds = 0;  // for occurrences at a time
};

// The zones of one file. Lines are the file's, for warnings.
class TimeZones {
  public:
    using Warn = std::function<void(int line, const std::string& message)>;
    explicit TimeZones(Warn warn) : warn_(std::move(warn)) {}

    // A VTIMEZONE of the file, kept unless it has no TZID, its rules change more often
    // than real zones' do, or libical cannot take it. Its rules are taken from 1900 to
    // 2200 only.
    void Keep(Component component, int line);

    // The zone a TZID names; null, with a warning the first time, where none is known.
    icaltimezone* Named(const std::string& tzid, int line);

    // The moment a DTSTART, DTEND, RECURRENCE-ID, EXDATE or RDATE property holds.
    Moment MomentOf(icalproperty* property, icaltimetype time, int line);

  private:
    struct ZoneFree {
        void operator()(icaltimezone* zone) const { icaltimezone_free(zone, 1); }
    };
    using Zone = std::unique_ptr<icaltimezone, ZoneFree>;

    Warn warn_;
    // How long the file's zones took to count (see Keep).
    std::chrono::steady_clock::duration counting_{};
    std::map<std::string, Zone> own_;
    std::map<std::string, icaltimezone*> builtIn_;
};

}  // namespace tessaly::ical
