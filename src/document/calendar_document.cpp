#include "document/calendar_document.h"

namespace tessaly {

namespace {

std::string MonthTitle(const NameTable& names, const CalendarRequest& month) {
    return names[kFirstMonthSlot + month.monthIndex] + " " + std::to_string(month.year);
}

// Initials are two columns wide, as a terminal calendar's day columns are.
constexpr int kInitialsColumns = 2;

MonthPage ComposeMonth(const CalendarRequest& month, const NameTable& names,
                       const EventCalendar* events, const DisplayColumns& measure) {
    MonthPage page;
    page.year = month.year;
    page.monthIndex = month.monthIndex;
    page.title = MonthTitle(names, month);
    page.name = names[kFirstMonthSlot + month.monthIndex];
    const WeekLayout layout = LayoutOf(month.weekStart);
    for (int column = 1; column <= 7; ++column) {
        GridColumn& shown = page.columns[static_cast<std::size_t>(column - 1)];
        shown.weekday = DaySlotOfColumn(layout, column);
        shown.heading = names[static_cast<std::size_t>(shown.weekday)];
        shown.initials = measure.Cut(names[kFirstShortDaySlot + shown.weekday], kInitialsColumns);
        shown.weekend = IsWeekendColumn(layout, column);
    }
    for (int position = 1; position <= 42; ++position) {
        DayCell& cell = page.cells[static_cast<std::size_t>(position - 1)];
        cell.text = CellText(month, position);
        cell.day = cell.text.empty() ? 0 : std::stoi(cell.text);
        cell.weekend = page.columns[static_cast<std::size_t>((position - 1) % 7)].weekend;
        if (cell.day > 0) {
            cell.dayOfYear = DayOfYear(month.monthIndex, month.year, cell.day);
            cell.daysLeft = DaysInYear(month.year) - cell.dayOfYear;
        }
        if (cell.day > 0 && events != nullptr) {
            if (const DayEvents* listed = events->On(month.year, month.monthIndex, cell.day)) {
                cell.events = *listed;
            }
        }
    }
    if (month.weekNumbers) {
        for (int row = 0; row < 6; ++row) {
            page.weekNumbers[static_cast<std::size_t>(row)] = IsoWeekOfRow(month, row);
        }
    }
    return page;
}

// The year page's title: the year of its months, or the first and the last year.
std::string YearPageTitle(const CalendarRequest& request) {
    const std::vector<CalendarRequest> months = MonthsOf(request);
    std::string title = std::to_string(months.front().year);
    if (months.back().year != months.front().year) {
        title += "\xE2\x80\x93";  // an en dash
        title += std::to_string(months.back().year);
    }
    return title;
}

}  // namespace

CalendarDocument ComposeCalendar(const CalendarRequest& request, const NameTable& names,
                                 const EventCalendar* events, const DisplayColumns& columns) {
    CalendarDocument document;
    const std::vector<CalendarRequest> months = MonthsOf(request);
    if (request.layout == Layout::Year) {
        document.title = YearPageTitle(request);
        YearPage& year = document.year.emplace();
        year.title = document.title;
        for (std::size_t k = 0; k < months.size() && k < year.months.size(); ++k) {
            year.months[k] = ComposeMonth(months[k], names, events, columns);
        }
    } else {
        // A range reads "December 2026 - January 2027" where one month's name and year
        // stand.
        document.title = MonthTitle(names, months.front());
        if (months.size() > 1) {
            document.title += " - " + MonthTitle(names, months.back());
        }
        document.pages.reserve(months.size());
        for (const CalendarRequest& month : months) {
            document.pages.push_back(ComposeMonth(month, names, events, columns));
        }
    }
    for (std::size_t k = 0; k < 7; ++k) {
        document.dayNames[k] = names[k];
        document.shortDayNames[k] = names[kFirstShortDaySlot + k];
    }
    document.dayOfYear = request.dayOfYear;
    document.weekNumbers = request.weekNumbers;
    document.colorWeekends = request.colorWeekends;
    document.weekendColor = names[kWeekendColorSlot];
    document.listsEvents = events != nullptr;
    document.paper = request.paper;
    return document;
}

}  // namespace tessaly
