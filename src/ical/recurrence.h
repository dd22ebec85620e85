#pragma once

// Recurrence rules followed with libical, near the days asked for only.
#include <libical/ical.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calendar/events.h"
#include "ical/time_zones.h"

namespace tessaly::ical {

// How many values one of libical's BY arrays holds: they end at
// ICAL_RECURRENCE_ARRAY_MAX, unless full.
template <std::size_t N>
int CountBy(const short (&by)[N]) {
    int count = 0;
    while (count < static_cast<int>(N) && by[count] != ICAL_RECURRENCE_ARRAY_MAX) {
        ++count;
    }
    return count;
}
template <std::size_t N>
bool NoneBy(const short (&by)[N]) {
    return by[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

// A recurrence rule to follow, in the wall clock of its event's start, and what it gave.
struct RuleWalk {
    icalproperty* rrule = nullptr;
    icaltimetype until{};        // the rule's end, or the end of the days asked for
    icaltimetype first{};        // the event's start
    icaltimetype windowStart{};  // occurrences before it are not kept
    bool skipAhead = false;      // start stepping at windowStart
    // What it gave.
    std::vector<icaltimetype> found;
    enum class Outcome { Followed, Refused, TooMany, OutOfTime } outcome = Outcome::Followed;
};

// The rule `rrule` of an event that starts at `start` and lasts `span`, to follow from a
// little before the first of `days` (less the time an occurrence lasts) to a little
// after the last; nothing where it cannot come near them, or where it is not followed,
// which `warn` then hears why.
std::optional<RuleWalk> PrepareWalk(icalproperty* rrule, const Moment& start, const Span& span,
                                    DayRange days,
                                    const std::function<void(const std::string&)>& warn);

// Follows a rule; walks of different events may run on different threads.
void Walk(RuleWalk& walk, std::chrono::steady_clock::time_point deadline);

}  // namespace tessaly::ical
