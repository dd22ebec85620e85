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

}  // namespace tessaly
