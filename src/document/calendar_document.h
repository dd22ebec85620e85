#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include <optional>

#include "calendar/conventions.h"
#include "calendar/events.h"
#include "calendar/month_grid.h"
#include "calendar/names.h"
#include "core/display_columns.h"

namespace tessaly {

// A calendar with every decision made: which day stands in which cell, which columns
// are the weekend, the names and titles (UTF-8), the week numbers and each day's events.
// Renderers draw what it says and decide nothing of the calendar themselves.

// A column of a month's grid.
struct GridColumn {
    int weekday = 0;  // 0 Sunday .. 6 Saturday
    std::string heading;
    // The shortest day name cut to two terminal columns: the heading of a small month
    // and of a text calendar ("Su", "Mo", "日").
    std::string initials;
    bool weekend = false;
};

// One of a month's 42 day cells, row by row.
struct DayCell {
    int day = 0;       // 1..31; 0 for a cell outside the month
    std::string text;  // the day's number as shown (in the document's digits), "" outside
    bool weekend = false;
    DayEvents events;  // no lines for a day without events
    // The day's place in its year (1..366) and the days of the year after it; 0 outside
    // the month.
    int dayOfYear = 0;
    int daysLeft = 0;
};

// The page of one month: a title, a row of day names, six rows of seven days.
struct MonthPage {
    int year = 2000;
    int monthIndex = 0;  // 0 = January
    std::string title;   // the month's name and year, or the locale's title of it
    std::string name;    // the month's name alone
    std::array<GridColumn, 7> columns;
    std::array<DayCell, 42> cells;
    // The ISO 8601 week of each row (the week of its Monday), 0 for a row without a day
    // of the month; all 0 when the calendar shows no week numbers.
    std::array<int, 6> weekNumbers{};

    const DayCell& Cell(int row, int column) const {
        return cells[static_cast<std::size_t>(row * 7 + column)];
    }
};

// Twelve small months on one page, under the year they fall in ("2027"), or the two
// years of a range across a year's end ("2026–2027").
struct YearPage {
    std::string title;
    std::array<MonthPage, kMonthsOfYearPage> months;
};

struct CalendarDocument {
    // What the whole calendar is called: its month, or its first and last months, or
    // its year page's title.
    std::string title;
    // A page a month; none in the year layout, whose one page is `year`.
    std::vector<MonthPage> pages;
    std::optional<YearPage> year;
    // Day names Sunday first, as the names gave them, and the shortest ones.
    std::array<std::string, 7> dayNames;
    std::array<std::string, 7> shortDayNames;
    bool weekNumbers = false;
    // The weekend cells are coloured (HTML: in `weekendColor`, six hex digits; PDF: a
    // silver picture).
    bool colorWeekends = false;
    std::string weekendColor;
    // The days list events (their texts are any UTF-8).
    bool listsEvents = false;
    // Each day shows its day of the year and the days left ("123/242").
    bool dayOfYear = false;
    Paper paper = Paper::Letter;
    // Laid out as its locale lays out calendars (--regional): an HTML page of it is UTF-8
    // and says so.
    bool regional = false;
    // The grid reads right to left: the week's first day is the rightmost column, and
    // each text starts at its cell's right.
    bool rightToLeft = false;
    // The digits of the days, the years and the week numbers: ten, zero first; empty for
    // ASCII's.
    std::vector<std::string> digits;

    // A number as the document writes it.
    std::string Numeral(int number) const { return NumeralOf(number, digits); }
};

// The calendar `request` asks for, its names from `names` (UTF-8) and the events of
// `events` (nothing: no events); `columns` measures the shortest day names to cut
// them into initials. With a locale's `conventions` (--regional) its week, weekend,
// direction, titles and digits, where the request names no week or weekend of its own.
CalendarDocument ComposeCalendar(const CalendarRequest& request, const NameTable& names,
                                 const EventCalendar* events,
                                 const DisplayColumns& columns = DisplayColumns(),
                                 const CalendarConventions* conventions = nullptr);

}  // namespace tessaly
