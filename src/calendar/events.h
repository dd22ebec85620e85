#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/month_grid.h"
#include "core/int_text.h"

namespace tessaly {

// Days are counted from 1970-01-01 (day 0), in the user's local time.
struct DayRange {
    std::int32_t first = 0;
    std::int32_t last = 0;  // inclusive
};

// Every day of the months a request shows, from the 1st of its first month to the end
// of its last.
DayRange DaysOf(const CalendarRequest& request);

std::int32_t DayNumberOf(int year, int monthIndex, int day);

// One appearance of an event: the local days it covers and, for a timed event, when it
// starts on the first of them.
struct EventOccurrence {
    std::int32_t firstDay = 0;
    std::int32_t lastDay = 0;       // inclusive; firstDay for an event within one day
    std::int32_t startMinute = -1;  // minutes after midnight on firstDay; -1 all day
    std::uint32_t title = 0;        // index into EventList::titles
};

// Events as the calendar files gave them: titles as they were written (any bytes), and
// each occurrence that touches the days asked for.
struct EventList {
    std::vector<std::string> titles;
    std::vector<EventOccurrence> occurrences;
};

// What a day cell shows: its events' lines in order, and how many more there were.
struct DayEvents {
    std::vector<std::string> lines;  // UTF-8, one line each, never empty
    int more = 0;
    // The time each line starts with, "" for an event of the whole day: a timed line is
    // its time, a blank and its title.
    std::vector<std::string> times = {};
};

// The most lines a day keeps; a flood of events on one day is counted, not listed.
inline constexpr std::size_t kMostEventLinesPerDay = 50;

// The lines of each day of a range.
class EventCalendar {
  public:
    EventCalendar() = default;
    explicit EventCalendar(DayRange range);

    // The events of a day; nothing for a day without any or outside the range.
    const DayEvents* On(int year, int monthIndex, int day) const;

  private:
    friend EventCalendar ArrangeEvents(
        const EventList&, DayRange,
        const std::function<std::string(int hour, int minute)>& timeText);
    DayRange range_{0, -1};
    std::vector<DayEvents> days_;
};

// An event's title made fit for one line of a page: valid UTF-8 (a broken sequence
// becomes U+FFFD), line breaks, tabs and other control characters as single blanks,
// no blanks at either end, at most kMostTitleCharacters characters (cut with "…"), and
// "(no title)" when nothing is left.
std::string EventLineTitle(std::string_view title);
inline constexpr std::size_t kMostTitleCharacters = 200;

// Each day's lines: events that last the whole day (or go on from an earlier day) first,
// in the order they began, then timed ones by their start, written "<time> <title>"
// with `timeText`; events that start alike go by title, then as listed.
EventCalendar ArrangeEvents(const EventList& events, DayRange range,
                            const std::function<std::string(int hour, int minute)>& timeText);

}  // namespace tessaly
