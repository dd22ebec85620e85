#include "ical/recurrence.h"

#include <algorithm>
#include <cstdint>

#include "core/owned.h"
#include "ical/content_lines.h"

namespace tessaly::ical {

namespace {

using Iterator = Owned<icalrecur_iterator, icalrecur_iterator_free>;

// libical steps through every period of a rule to find its occurrences, also where its
// parts exclude them all, so a rule more often than daily may step only so far.
constexpr std::int64_t kMostStepsOfOneRule = 100000;

// The longest period of a frequency, in seconds (a month of 31 days, a year of 366);
// 0 for none.
std::int64_t LongestPeriod(icalrecurrencetype_frequency frequency) {
    switch (frequency) {
        case ICAL_SECONDLY_RECURRENCE:
            return 1;
        case ICAL_MINUTELY_RECURRENCE:
            return 60;
        case ICAL_HOURLY_RECURRENCE:
            return 3600;
        case ICAL_DAILY_RECURRENCE:
            return kSecondsPerDay;
        case ICAL_WEEKLY_RECURRENCE:
            return 7 * kSecondsPerDay;
        case ICAL_MONTHLY_RECURRENCE:
            return 31 * kSecondsPerDay;
        case ICAL_YEARLY_RECURRENCE:
            return 366 * kSecondsPerDay;
        default:
            return 0;
    }
}

// Whether a counted rule surely has its last occurrence before `wall` (wall-clock
// seconds): libical cannot skip ahead in one, it counts from its start. Known only for
// rules of plain periods, whose every period holds one occurrence but for dates some
// months or years lack (the 31st, 29 February: one in eight periods at worst), and for
// weekly ones on days of the week.
bool EndsBefore(const icalrecurrencetype& rule, const icaltimetype& start, std::int64_t wall) {
    const bool plain = NoneBy(rule.by_second) && NoneBy(rule.by_minute) && NoneBy(rule.by_hour) &&
                       NoneBy(rule.by_month_day) && NoneBy(rule.by_year_day) &&
                       NoneBy(rule.by_week_no) && NoneBy(rule.by_month) && NoneBy(rule.by_set_pos);
    const int days = CountBy(rule.by_day);
    bool daysOfWeek = days > 0;
    for (int k = 0; k < days; ++k) {
        daysOfWeek = daysOfWeek && icalrecurrencetype_day_position(rule.by_day[k]) == 0;
    }
    if (rule.count <= 0 || rule.count > 1000000 || !plain ||
        !(days == 0 || (daysOfWeek && rule.freq == ICAL_WEEKLY_RECURRENCE))) {
        return false;
    }
    std::int64_t period = LongestPeriod(rule.freq);
    if (period == 0) {
        return false;
    }
    if (rule.freq == ICAL_MONTHLY_RECURRENCE || rule.freq == ICAL_YEARLY_RECURRENCE) {
        period *= 8;
    }
    const std::int64_t periods =
        std::int64_t{rule.count} * std::clamp<std::int64_t>(rule.interval, 1, 1000);
    return WallSeconds(start) + (periods + 1) * period < wall;
}

}  // namespace

std::optional<RuleWalk> PrepareWalk(icalproperty* rrule, const Moment& start, const Span& span,
                                    DayRange days,
                                    const std::function<void(const std::string&)>& warn) {
    icalrecurrencetype rule = icalproperty_get_rrule(rrule);
    if (rule.freq == ICAL_NO_RECURRENCE) {
        return std::nullopt;
    }
    if (rule.rscale != nullptr && !SameName(rule.rscale, "GREGORIAN")) {
        warn("its recurrence in another calendar than the Gregorian is not followed");
        return std::nullopt;
    }
    // Stepping needs no zone: the walk is in the wall clock of the start, and its end is
    // taken into that clock here.
    const icaltimetype first = start.time;
    const auto date = [&](std::int32_t day) {
        const std::chrono::year_month_day ymd{std::chrono::sys_days{std::chrono::days{day}}};
        icaltimetype t = first;
        t.year = static_cast<int>(ymd.year());
        t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
        t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
        t.hour = t.minute = t.second = 0;
        return t;
    };
    icaltimetype until = date(days.last + kMarginDays);
    if (!until.is_date) {
        until.hour = 23;
        until.minute = 59;
        until.second = 59;
    }
    if (!icaltime_is_null_time(rule.until)) {
        icaltimetype given = rule.until;
        if (!given.is_date && !first.is_date && start.zone != nullptr && icaltime_is_utc(given)) {
            given = icaltime_convert_to_zone(given, start.zone);
        }
        given.zone = nullptr;
        if (icaltime_compare(given, until) < 0) {
            until = given;
        }
    }
    rule.until = until;
    RuleWalk walk;
    walk.windowStart = date(days.first - span.days - kMarginDays);
    if (icaltime_compare(first, until) > 0 || icaltime_compare(until, walk.windowStart) < 0 ||
        EndsBefore(rule, first, WallSeconds(walk.windowStart))) {
        return std::nullopt;
    }
    walk.skipAhead = rule.count == 0 && icaltime_compare(walk.windowStart, first) > 0;
    // Rules more often than daily step through every period between.
    const std::int64_t period = LongestPeriod(rule.freq);
    const icaltimetype from = walk.skipAhead ? walk.windowStart : first;
    if (period > 0 && period < kSecondsPerDay &&
        (WallSeconds(until) - WallSeconds(from)) /
                (period * std::max<std::int64_t>(rule.interval, 1)) >
            kMostStepsOfOneRule) {
        warn("a recurrence this frequent is not followed over so long a time");
        return std::nullopt;
    }
    walk.rrule = rrule;
    walk.until = until;
    walk.first = first;
    return walk;
}

void Walk(RuleWalk& walk, std::chrono::steady_clock::time_point deadline) {
    if (std::chrono::steady_clock::now() > deadline) {
        walk.outcome = RuleWalk::Outcome::OutOfTime;
        return;
    }
    icalrecurrencetype rule = icalproperty_get_rrule(walk.rrule);
    rule.until = walk.until;
    Iterator iterator(icalrecur_iterator_new(rule, walk.first));
    if (!iterator) {
        walk.outcome = RuleWalk::Outcome::Refused;
        return;
    }
    if (walk.skipAhead && icalrecur_iterator_set_start(iterator.get(), walk.windowStart) == 0) {
        return;
    }
    std::int64_t steps = 0;
    for (icaltimetype next = icalrecur_iterator_next(iterator.get()); !icaltime_is_null_time(next);
         next = icalrecur_iterator_next(iterator.get())) {
        if (++steps > kMostStepsOfOneRule) {
            walk.outcome = RuleWalk::Outcome::TooMany;
            return;
        }
        if ((steps & 0xFF) == 0 && std::chrono::steady_clock::now() > deadline) {
            walk.outcome = RuleWalk::Outcome::OutOfTime;
            return;
        }
        if (icaltime_compare(next, walk.windowStart) >= 0) {
            walk.found.push_back(next);
        }
    }
}

}  // namespace tessaly::ical
