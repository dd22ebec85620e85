#include "calendar/month_grid.h"

#include <chrono>

namespace tessaly {

namespace {

std::chrono::sys_days FirstOfMonth(int monthIndex, int year) {
    using namespace std::chrono;
    return sys_days{std::chrono::year{year} / month{static_cast<unsigned>(monthIndex + 1)} / 1};
}

}  // namespace

WeekLayout LayoutOf(int weekStart) {
    return weekStart == 0 ? WeekLayout::Monday : WeekLayout::Sunday;
}

int FirstColumn(int monthIndex, int year, WeekLayout layout) {
    // c_encoding: 0 = Sunday .. 6 = Saturday
    const int sundayBased =
        static_cast<int>(std::chrono::weekday{FirstOfMonth(monthIndex, year)}.c_encoding()) + 1;
    if (layout == WeekLayout::Sunday) {
        return sundayBased;
    }
    return sundayBased == 1 ? 7 : sundayBased - 1;
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

std::string CellText(const CalendarRequest& request, int position) {
    const int first = FirstColumn(request.monthIndex, request.year, LayoutOf(request.weekStart));
    const int length = MonthLength(request.monthIndex, request.year);
    if (position < first || position >= first + length) {
        return {};
    }
    return std::to_string(position - first + 1);
}

int DaySlotOfColumn(WeekLayout layout, int column) {
    return layout == WeekLayout::Sunday ? column - 1 : column % 7;
}

bool IsWeekendColumn(WeekLayout layout, int column) {
    return layout == WeekLayout::Sunday ? (column == 1 || column == 7)
                                        : (column == 6 || column == 7);
}

int DayOfYear(int monthIndex, int year, int day) {
    return static_cast<int>((FirstOfMonth(monthIndex, year) - FirstOfMonth(0, year)).count()) + day;
}

int DaysInYear(int year) {
    return static_cast<int>((FirstOfMonth(0, year + 1) - FirstOfMonth(0, year)).count());
}

int IsoWeekOfRow(const CalendarRequest& request, int row) {
    using namespace std::chrono;
    const WeekLayout layout = LayoutOf(request.weekStart);
    const int first = FirstColumn(request.monthIndex, request.year, layout);
    const int length = MonthLength(request.monthIndex, request.year);
    if (row < 0 || row > 5 || 7 * row + 7 < first || 7 * row + 1 >= first + length) {
        return 0;
    }
    const int mondayColumn = layout == WeekLayout::Sunday ? 2 : 1;
    const sys_days monday =
        FirstOfMonth(request.monthIndex, request.year) + days{7 * row + mondayColumn - first};
    // The week belongs to the year of its Thursday, and counts from that year's first.
    const sys_days thursday = monday + days{3};
    const year_month_day date{thursday};
    return static_cast<int>((thursday - sys_days{date.year() / January / 1}).count() / 7 + 1);
}

}  // namespace tessaly
