#include "calendar/month_grid.h"

#include <chrono>

namespace tessaly {

namespace {

std::chrono::sys_days FirstOfMonth(int monthIndex, int year) {
    using namespace std::chrono;
    return sys_days{std::chrono::year{year} / month{static_cast<unsigned>(monthIndex + 1)} / 1};
}

// The day in cell `position` of a month of `length` days whose 1st is in position `first`.
int DayAt(int position, int first, int length) {
    return position < first || position >= first + length ? 0 : position - first + 1;
}

}  // namespace

int FirstWeekdayOf(const CalendarRequest& request) {
    if (request.firstWeekday) {
        return (*request.firstWeekday % 7 + 7) % 7;
    }
    return request.weekStart == 0 ? kMonday : kSunday;
}

Weekdays WeekendOf(const CalendarRequest& request) {
    return request.weekend.value_or(kSaturdayAndSunday);
}

int FirstColumn(int monthIndex, int year, int firstWeekday) {
    // c_encoding: 0 = Sunday .. 6 = Saturday
    const int weekday =
        static_cast<int>(std::chrono::weekday{FirstOfMonth(monthIndex, year)}.c_encoding());
    return (weekday - firstWeekday + 7) % 7 + 1;
}

int WeekdayOfColumn(int firstWeekday, int column) {
    return (firstWeekday + column - 1) % 7;
}

int MonthLength(int monthIndex, int year) {
    const auto first = FirstOfMonth(monthIndex, year);
    const auto next =
        monthIndex == 11 ? FirstOfMonth(0, year + 1) : FirstOfMonth(monthIndex + 1, year);
    return static_cast<int>((next - first).count());
}

std::vector<CalendarRequest> MonthsOf(const CalendarRequest& request) {
    std::vector<CalendarRequest> months;
    const int count =
        request.layout == Layout::Year ? kMonthsOfYearPage : std::max(request.months, 1);
    for (int k = 0; k < count; ++k) {
        CalendarRequest month = request;
        month.months = 1;
        month.layout = Layout::Month;
        month.monthIndex = (request.monthIndex + k) % 12;
        month.year = request.year + (request.monthIndex + k) / 12;
        months.push_back(month);
    }
    return months;
}

int DayOfCell(const CalendarRequest& request, int position) {
    return DayAt(position, FirstColumn(request.monthIndex, request.year, FirstWeekdayOf(request)),
                 MonthLength(request.monthIndex, request.year));
}

std::array<int, 42> DaysOfCells(const CalendarRequest& request) {
    const int first = FirstColumn(request.monthIndex, request.year, FirstWeekdayOf(request));
    const int length = MonthLength(request.monthIndex, request.year);
    std::array<int, 42> days{};
    for (int position = 1; position <= 42; ++position) {
        days[static_cast<std::size_t>(position - 1)] = DayAt(position, first, length);
    }
    return days;
}

std::string CellText(const CalendarRequest& request, int position) {
    const int day = DayOfCell(request, position);
    return day > 0 ? std::to_string(day) : std::string();
}

bool IsWeekendColumn(const CalendarRequest& request, int column) {
    return WeekendOf(
        request)[static_cast<std::size_t>(WeekdayOfColumn(FirstWeekdayOf(request), column))];
}

int DayOfYear(int monthIndex, int year, int day) {
    return static_cast<int>((FirstOfMonth(monthIndex, year) - FirstOfMonth(0, year)).count()) + day;
}

int DaysInYear(int year) {
    return static_cast<int>((FirstOfMonth(0, year + 1) - FirstOfMonth(0, year)).count());
}

int IsoWeekOfRow(const CalendarRequest& request, int row) {
    using namespace std::chrono;
    const int firstWeekday = FirstWeekdayOf(request);
    const int first = FirstColumn(request.monthIndex, request.year, firstWeekday);
    const int length = MonthLength(request.monthIndex, request.year);
    if (row < 0 || row > 5 || 7 * row + 7 < first || 7 * row + 1 >= first + length) {
        return 0;
    }
    constexpr int kThursday = 4;
    const int thursdayColumn = (kThursday - firstWeekday + 7) % 7 + 1;
    // The week belongs to the year of its Thursday, and counts from that year's first.
    const sys_days thursday =
        FirstOfMonth(request.monthIndex, request.year) + days{7 * row + thursdayColumn - first};
    const year_month_day date{thursday};
    return static_cast<int>((thursday - sys_days{date.year() / January / 1}).count() / 7 + 1);
}

}  // namespace tessaly
