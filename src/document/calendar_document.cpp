#include "document/calendar_document.h"

namespace tessaly {

namespace {

// The names and numbers of a document as it is composed.
struct Wording {
    const NameTable& names;
    const CalendarConventions* conventions;
    const std::vector<std::string>& digits;

    std::string MonthTitle(const CalendarRequest& month) const {
        if (conventions != nullptr) {
            const auto title = conventions->titles.find(MonthKey(month.year, month.monthIndex));
            if (title != conventions->titles.end()) {
                return title->second;
            }
        }
        return names[kFirstMonthSlot + month.monthIndex] + " " + NumeralOf(month.year, digits);
    }
};

// Initials are two columns wide, as a terminal calendar's day columns are.
constexpr int kInitialsColumns = 2;

// Written into a page in place: a page is large, and moving it moves every cell.
void ComposeMonth(MonthPage& page, const CalendarRequest& month, const Wording& wording,
                  const EventCalendar* events, const DisplayColumns& measure) {
    const NameTable& names = wording.names;
    page.year = month.year;
    page.monthIndex = month.monthIndex;
    page.title = wording.MonthTitle(month);
    page.name = names[kFirstMonthSlot + month.monthIndex];
    const int firstWeekday = FirstWeekdayOf(month);
    for (int column = 1; column <= 7; ++column) {
        GridColumn& shown = page.columns[static_cast<std::size_t>(column - 1)];
        shown.weekday = WeekdayOfColumn(firstWeekday, column);
        shown.heading = names[static_cast<std::size_t>(shown.weekday)];
        shown.initials = measure.Cut(names[kFirstShortDaySlot + shown.weekday], kInitialsColumns);
        shown.weekend = IsWeekendColumn(month, column);
    }
    const std::array<int, 42> days = DaysOfCells(month);
    const int daysInYear = DaysInYear(month.year);
    for (int position = 1; position <= 42; ++position) {
        DayCell& cell = page.cells[static_cast<std::size_t>(position - 1)];
        cell.day = days[static_cast<std::size_t>(position - 1)];
        cell.text = cell.day > 0 ? NumeralOf(cell.day, wording.digits) : std::string();
        cell.weekend = page.columns[static_cast<std::size_t>((position - 1) % 7)].weekend;
        if (cell.day > 0) {
            cell.dayOfYear = DayOfYear(month.monthIndex, month.year, cell.day);
            cell.daysLeft = daysInYear - cell.dayOfYear;
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
}

// The year page's title: the year of its months, or the first and the last year.
std::string YearPageTitle(const CalendarRequest& request, const std::vector<std::string>& digits) {
    const std::vector<CalendarRequest> months = MonthsOf(request);
    std::string title = NumeralOf(months.front().year, digits);
    if (months.back().year != months.front().year) {
        title += "\xE2\x80\x93";  // an en dash
        title += NumeralOf(months.back().year, digits);
    }
    return title;
}

// The locale's week and weekend where the request names none.
CalendarRequest WithConventions(CalendarRequest request, const CalendarConventions* conventions) {
    if (conventions != nullptr) {
        request.firstWeekday = request.firstWeekday.value_or(conventions->firstWeekday);
        request.weekend = request.weekend.value_or(conventions->weekend);
    }
    return request;
}

}  // namespace

CalendarDocument ComposeCalendar(const CalendarRequest& asked, const NameTable& names,
                                 const EventCalendar* events, const DisplayColumns& columns,
                                 const CalendarConventions* conventions) {
    const CalendarRequest request = WithConventions(asked, conventions);
    CalendarDocument document;
    if (conventions != nullptr) {
        document.regional = true;
        document.rightToLeft = conventions->rightToLeft;
        // Ten digits other than ASCII's; ASCII's are written as they always are.
        if (conventions->digits.size() == 10 &&
            NumeralOf(1234567890, conventions->digits) != "1234567890") {
            document.digits = conventions->digits;
        }
    }
    const Wording wording{names, conventions, document.digits};
    const std::vector<CalendarRequest> months = MonthsOf(request);
    if (request.layout == Layout::Year) {
        document.title = YearPageTitle(request, document.digits);
        YearPage& year = document.year.emplace();
        year.title = document.title;
        for (std::size_t k = 0; k < months.size() && k < year.months.size(); ++k) {
            ComposeMonth(year.months[k], months[k], wording, events, columns);
        }
    } else {
        // A range reads "December 2026 - January 2027" where one month's name and year
        // stand.
        document.title = wording.MonthTitle(months.front());
        if (months.size() > 1) {
            document.title += " - " + wording.MonthTitle(months.back());
        }
        document.pages.reserve(months.size());
        for (const CalendarRequest& month : months) {
            ComposeMonth(document.pages.emplace_back(), month, wording, events, columns);
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
