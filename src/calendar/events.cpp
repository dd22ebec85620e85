#include "calendar/events.h"

#include <algorithm>
#include <chrono>

#include "core/int_text.h"
#include "core/winansi.h"

namespace tessaly {

std::int32_t DayNumberOf(int year, int monthIndex, int day) {
    using namespace std::chrono;
    const sys_days date{std::chrono::year{year} / month{static_cast<unsigned>(monthIndex + 1)} /
                        std::chrono::day{static_cast<unsigned>(day)}};
    return static_cast<std::int32_t>(date.time_since_epoch().count());
}

DayRange DaysOf(const CalendarRequest& request) {
    const std::vector<CalendarRequest> months = MonthsOf(request);
    const CalendarRequest& last = months.back();
    return {DayNumberOf(request.year, request.monthIndex, 1),
            DayNumberOf(last.year, last.monthIndex, MonthLength(last.monthIndex, last.year))};
}

EventCalendar::EventCalendar(DayRange range)
    : range_(range), days_(static_cast<std::size_t>(std::max(range.last - range.first + 1, 0))) {}

const DayEvents* EventCalendar::On(int year, int monthIndex, int day) const {
    const std::int32_t number = DayNumberOf(year, monthIndex, day);
    if (number < range_.first || number > range_.last) {
        return nullptr;
    }
    const DayEvents& events = days_[static_cast<std::size_t>(number - range_.first)];
    return events.lines.empty() ? nullptr : &events;
}

std::string EventLineTitle(std::string_view title) {
    std::u32string kept;
    bool blank = false;
    for (const char32_t c : Utf8ToCodePointsReplacing(title)) {
        // Controls, line and paragraph separators, and blanks of any kind.
        const bool space = c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0x2028 || c == 0x2029;
        if (space) {
            blank = !kept.empty();
            continue;
        }
        if (blank) {
            kept += U' ';
            blank = false;
        }
        kept += c;
    }
    if (kept.empty()) {
        return "(no title)";
    }
    if (kept.size() > kMostTitleCharacters) {
        kept.resize(kMostTitleCharacters - 1);
        while (!kept.empty() && kept.back() == U' ') {
            kept.pop_back();
        }
        kept += U'\u2026';
    }
    std::string utf8;
    for (const char32_t c : kept) {
        utf8 += CodePointToUtf8(c);
    }
    return utf8;
}

namespace {

// One event on one day, as it sorts.
struct Entry {
    bool timed = false;
    std::int32_t since = 0;  // the minute it starts, or the day it began
    const std::string* title = nullptr;
    std::size_t order = 0;
    std::int32_t minute = 0;
};

}  // namespace

EventCalendar ArrangeEvents(const EventList& events, DayRange range,
                            const std::function<std::string(int hour, int minute)>& timeText) {
    EventCalendar calendar(range);
    std::vector<std::string> titles;
    titles.reserve(events.titles.size());
    for (const std::string& title : events.titles) {
        titles.push_back(EventLineTitle(title));
    }

    std::vector<std::vector<Entry>> days(calendar.days_.size());
    for (std::size_t k = 0; k < events.occurrences.size(); ++k) {
        const EventOccurrence& occurrence = events.occurrences[k];
        if (occurrence.title >= titles.size()) {
            continue;
        }
        const std::int32_t first = std::max(occurrence.firstDay, range.first);
        const std::int32_t last = std::min(occurrence.lastDay, range.last);
        for (std::int32_t day = first; day <= last; ++day) {
            // A timed event shows its time on the day it starts; the days it goes on
            // into it fills from their beginning, like an event of the whole day.
            const bool timed = occurrence.startMinute >= 0 && day == occurrence.firstDay;
            days[static_cast<std::size_t>(day - range.first)].push_back(
                {timed, timed ? occurrence.startMinute : occurrence.firstDay,
                 &titles[occurrence.title], k, occurrence.startMinute});
        }
    }

    for (std::size_t d = 0; d < days.size(); ++d) {
        std::vector<Entry>& entries = days[d];
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            if (a.timed != b.timed) {
                return !a.timed;
            }
            if (a.since != b.since) {
                return a.since < b.since;
            }
            if (*a.title != *b.title) {
                return *a.title < *b.title;
            }
            return a.order < b.order;
        });
        DayEvents& shown = calendar.days_[d];
        const std::size_t listed = std::min(entries.size(), kMostEventLinesPerDay);
        shown.lines.reserve(listed);
        shown.times.reserve(listed);
        for (std::size_t k = 0; k < listed; ++k) {
            const Entry& entry = entries[k];
            shown.times.push_back(entry.timed ? timeText(entry.minute / 60, entry.minute % 60)
                                              : std::string());
            shown.lines.push_back(entry.timed ? shown.times.back() + " " + *entry.title
                                              : *entry.title);
        }
        shown.more = static_cast<int>(entries.size() - listed);
    }
    return calendar;
}

}  // namespace tessaly
