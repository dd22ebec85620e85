#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "calendar/events.h"
#include "calendar/month_grid.h"
#include "calendar/names.h"

namespace tessaly {

// A calendar with every decision made: which day stands in which cell, which columns
// are the weekend, the names and titles (UTF-8), the week numbers and each day's events.
// Renderers draw what it says and decide nothing of the calendar themselves.

// A column of a month's grid.
struct GridColumn {
    int weekday = 0;  // 0 Sunday .. 6 Saturday
    std::string heading;
    bool weekend = false;
};

// One of a month's 42 day cells, row by row.
struct DayCell {
    int day = 0;       // 1..31; 0 for a cell outside the month
    std::string text;  // the day's number as shown, "" outside the month
    bool weekend = false;
    DayEvents events;  // no lines for a day without events
};

// The page of one month: a title, a row of day names, six rows of seven days.
struct MonthPage {
    int year = 2000;
    int monthIndex = 0;  // 0 = January
    std::string title;   // the month's name and year
    std::array<GridColumn, 7> columns;
    std::array<DayCell, 42> cells;
    // The ISO 8601 week of each row (the week of its Monday), 0 for a row without a day
    // of the month; all 0 when the calendar shows no week numbers.
    std::array<int, 6> weekNumbers{};

    const DayCell& Cell(int row, int column) const {
        return cells[static_cast<std::size_t>(row * 7 + column)];
    }
};

struct CalendarDocument {
    // What the whole calendar is called: its month, or its first and last months.
    std::string title;
    std::vector<MonthPage> pages;
    // Day names Sunday first, as the names gave them.
    std::array<std::string, 7> dayNames;
    bool weekNumbers = false;
    // The weekend cells are coloured (HTML: in `weekendColor`, six hex digits; PDF: a
    // silver picture).
    bool colorWeekends = false;
    std::string weekendColor;
    // The days list events (their texts are any UTF-8).
    bool listsEvents = false;
    Paper paper = Paper::Letter;
};

// The calendar `request` asks for, its names from `names` (slots 0-19, UTF-8) and the
// events of `events` (nothing: no events).
CalendarDocument ComposeCalendar(const CalendarRequest& request, const NameTable& names,
                                 const EventCalendar* events);

}  // namespace tessaly
