#include "ical/time_zones.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>

#include "ical/content_lines.h"
#include "ical/recurrence.h"

namespace tessaly::ical {

namespace {

// The zone's offset from UTC, in seconds, at an instant (seconds from the epoch; by the
// standard library's calendar, which the C library's gmtime is not on every system
// before 1970).
int OffsetAt(icaltimezone* zone, std::int64_t instant) {
    const std::int64_t day =
        instant >= 0 ? instant / kSecondsPerDay : (instant + 1) / kSecondsPerDay - 1;
    const std::int64_t second = instant - day * kSecondsPerDay;
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day}}};
    icaltimetype utc = icaltime_null_time();
    utc.year = static_cast<int>(date.year());
    utc.month = static_cast<int>(static_cast<unsigned>(date.month()));
    utc.day = static_cast<int>(static_cast<unsigned>(date.day()));
    utc.hour = static_cast<int>(second / 3600);
    utc.minute = static_cast<int>(second / 60 % 60);
    utc.second = static_cast<int>(second % 60);
    return icaltimezone_get_utc_offset_of_utc_time(zone, &utc, nullptr);
}

}  // namespace

std::int64_t Seconds(const Moment& moment) {
    if (moment.zone == nullptr || moment.time.is_date) {
        return WallSeconds(moment.time);
    }
    // libical reads a time the clock gives twice as the second, and one in a gap with
    // the offset after it. Here: the offsets a day before and a day after (no zone
    // changes twice within two days), which far from a change agree; else of those that
    // give this wall clock back, the earliest instant; in a gap none does, and the one
    // before the change counts.
    const std::int64_t wall = WallSeconds(moment.time);
    const int before = OffsetAt(moment.zone, wall - kSecondsPerDay);
    const int after = OffsetAt(moment.zone, wall + kSecondsPerDay);
    if (before == after) {
        return wall - before;
    }
    std::optional<std::int64_t> first;
    for (const int offset : {before, after}) {
        const std::int64_t instant = wall - offset;
        if (OffsetAt(moment.zone, instant) == offset && (!first || instant < *first)) {
            first = instant;
        }
    }
    return first.value_or(wall - before);
}

std::pair<std::int32_t, std::int32_t> LocalDayAndMinute(const Moment& moment, std::int64_t later) {
    if (moment.time.is_date) {
        return {DayOf(moment.time), -1};
    }
    std::int64_t wall = Seconds(moment) + later;
    if (moment.zone != nullptr) {
        const auto local = UserWallClock(wall);
        if (!local) {
            return {std::numeric_limits<std::int32_t>::min(), 0};
        }
        wall = *local;
    }
    const std::int64_t day = wall >= 0 ? wall / kSecondsPerDay : (wall + 1) / kSecondsPerDay - 1;
    return {static_cast<std::int32_t>(day),
            static_cast<std::int32_t>((wall - day * kSecondsPerDay) / 60)};
}

namespace {

// Whether each of the zone's rules gives a change or two a year, as real zones' rules
// do ("the last Sunday of March", "the Sunday from the 8th to the 14th"). libical
// follows them from their start to now, in steps no deadline of ours can stop: an
// hourly rule from 1970 is half a million of them, a daily one from 1601 half a second.
bool ChangesYearly(icalcomponent* zone) {
    for (icalcomponent* part = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT);
         part != nullptr; part = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
        for (icalproperty* rrule = icalcomponent_get_first_property(part, ICAL_RRULE_PROPERTY);
             rrule != nullptr; rrule = icalcomponent_get_next_property(part, ICAL_RRULE_PROPERTY)) {
            const icalrecurrencetype rule = icalproperty_get_rrule(rrule);
            if (rule.freq != ICAL_YEARLY_RECURRENCE || !NoneBy(rule.by_second) ||
                !NoneBy(rule.by_minute) || !NoneBy(rule.by_hour) || !NoneBy(rule.by_year_day) ||
                !NoneBy(rule.by_week_no) || CountBy(rule.by_day) > 1 ||
                CountBy(rule.by_month_day) > 7) {
                return false;
            }
        }
    }
    return true;
}

// A zone changes its offset twice a year at most; from 1900 to 2200 that is 600 times,
// a few more with its history. libical works out every change from each rule's start
// up to the years asked, and a zone whose rules make more is not one.
constexpr int kMostChanges = 2000;
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2200;
// Counting a real zone's changes takes well under a millisecond; a rule that matches
// (almost) never keeps libical looking for a quarter of a second at each step.
constexpr std::chrono::milliseconds kMostCountingTime{250};

// A zone's rules from 1900 to 2200 at most: libical steps through every year from a
// rule's start (often 1601) to the year a time asks (9999 in a hostile file), and no
// calendar shows a day outside those years. A counted rule keeps its start, so as to
// count the same occurrences.
void WithinTheYearsShown(icalcomponent* zone) {
    for (icalcomponent* part = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT);
         part != nullptr; part = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
        bool counted = false;
        for (icalproperty* rrule = icalcomponent_get_first_property(part, ICAL_RRULE_PROPERTY);
             rrule != nullptr; rrule = icalcomponent_get_next_property(part, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(rrule);
            counted = counted || rule.count > 0;
            if (rule.count == 0 && icaltime_is_null_time(rule.until)) {
                rule.until = icaltime_from_day_of_year(1, kLastYear + 1);
                rule.until.is_date = 0;
                rule.until.zone = icaltimezone_get_utc_timezone();
                icalproperty_set_rrule(rrule, rule);
            }
        }
        icalproperty* start = icalcomponent_get_first_property(part, ICAL_DTSTART_PROPERTY);
        if (start == nullptr) {
            continue;
        }
        icaltimetype time = icalproperty_get_dtstart(start);
        if (!counted && !icaltime_is_null_time(time) && time.year < kFirstYear) {
            time.year = kFirstYear;
            // 1900 has no 29 February.
            time.day = std::min(time.day, icaltime_days_in_month(time.month, time.year));
            icalproperty_set_dtstart(start, time);
        }
    }
}

// The zone's changes up to 2200, counted up to one past the most; one past the most too
// when counting takes longer than `deadline`.
int ChangesOf(icalcomponent* zone, std::chrono::steady_clock::time_point deadline) {
    using Iterator = Owned<icalrecur_iterator, icalrecur_iterator_free>;
    int changes = 0;
    for (icalcomponent* part = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT);
         part != nullptr && changes <= kMostChanges;
         part = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
        changes += icalcomponent_count_properties(part, ICAL_RDATE_PROPERTY);
        icalproperty* start = icalcomponent_get_first_property(part, ICAL_DTSTART_PROPERTY);
        if (start == nullptr) {
            continue;
        }
        const icaltimetype first = icalproperty_get_dtstart(start);
        for (icalproperty* rrule = icalcomponent_get_first_property(part, ICAL_RRULE_PROPERTY);
             rrule != nullptr && changes <= kMostChanges;
             rrule = icalcomponent_get_next_property(part, ICAL_RRULE_PROPERTY)) {
            // libical looks for the first occurrence already here.
            const Iterator walk(icalrecur_iterator_new(icalproperty_get_rrule(rrule), first));
            for (icaltimetype next = walk ? icalrecur_iterator_next(walk.get()) : icaltimetype{};
                 walk && !icaltime_is_null_time(next) && next.year <= kLastYear &&
                 changes <= kMostChanges;
                 next = icalrecur_iterator_next(walk.get())) {
                ++changes;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                return kMostChanges + 1;
            }
        }
    }
    return changes;
}

}  // namespace

void TimeZones::Keep(Component component, int line) {
    const char* id = nullptr;
    if (icalproperty* tzid =
            icalcomponent_get_first_property(component.get(), ICAL_TZID_PROPERTY)) {
        id = icalproperty_get_tzid(tzid);
    }
    if (id == nullptr || *id == '\0') {
        warn_(line, "a VTIMEZONE without TZID is left out");
        return;
    }
    const std::string tzid = id;
    if (!ChangesYearly(component.get())) {
        warn_(line, "the time zone \"" + Printable(tzid) +
                        "\" changes more often than once a year, as no zone does: it is "
                        "left out");
        return;
    }
    WithinTheYearsShown(component.get());
    // The time all the file's zones may take is bounded too: past it, none is counted.
    const auto begun = std::chrono::steady_clock::now();
    const bool counted = counting_ < kMostCountingTime * 4 &&
                         ChangesOf(component.get(), begun + kMostCountingTime) <= kMostChanges;
    counting_ += std::chrono::steady_clock::now() - begun;
    if (!counted) {
        // Where libical has a zone of that name, its own data serves (see Named).
        const bool known = icaltimezone_get_builtin_timezone(tzid.c_str()) != nullptr ||
                           icaltimezone_get_builtin_timezone_from_tzid(tzid.c_str()) != nullptr;
        warn_(line,
              "the time zone \"" + Printable(tzid) + "\" changes more than " +
                  std::to_string(kMostChanges) +
                  " times from 1900 to 2200, or too irregularly to follow, as no zone does: " +
                  (known ? "libical's own zone of that name is used instead" : "it is left out"));
        return;
    }
    Zone zone(icaltimezone_new());
    if (!zone || icaltimezone_set_component(zone.get(), component.get()) == 0) {
        warn_(line, "the time zone \"" + Printable(tzid) + "\" cannot be read");
        return;
    }
    // The zone owns the component now.
    component.release();
    own_.insert_or_assign(tzid, std::move(zone));
}

icaltimezone* TimeZones::Named(const std::string& tzid, int line) {
    if (const auto own = own_.find(tzid); own != own_.end()) {
        return own->second.get();
    }
    if (const auto known = builtIn_.find(tzid); known != builtIn_.end()) {
        return known->second;
    }
    icaltimezone* const zone = KnownZone(tzid);
    if (zone == nullptr) {
        warn_(line,
              "unknown time zone \"" + Printable(tzid) + "\": its times are taken as local times");
    }
    builtIn_.emplace(tzid, zone);
    return zone;
}

Moment TimeZones::MomentOf(icalproperty* property, icaltimetype time, int line) {
    Moment moment{time, nullptr};
    moment.time.zone = nullptr;
    if (time.is_date) {
        return moment;
    }
    if (icaltime_is_utc(time)) {
        moment.zone = icaltimezone_get_utc_timezone();
    } else if (icalparameter* tzid =
                   icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
        const char* id = icalparameter_get_tzid(tzid);
        moment.zone = id != nullptr ? Named(id, line) : nullptr;
    }
    return moment;
}

}  // namespace tessaly::ical
