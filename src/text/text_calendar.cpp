#include "text/text_calendar.h"

#include <algorithm>
#include <vector>

namespace tessaly {

namespace {

constexpr const char* kReverseVideo = "\x1b[7m";
constexpr const char* kReverseVideoOff = "\x1b[27m";
// Three months a row on a year page, two columns apart.
constexpr std::size_t kYearRowMonths = 3;
constexpr const char* kYearGap = "  ";

// A line and the columns it takes on the terminal (escape sequences take none).
struct Line {
    std::string text;
    int columns = 0;

    void Append(std::string_view piece, int width) {
        text += piece;
        columns += width;
    }
    void Blanks(int count) {
        if (count > 0) {
            Append(std::string(static_cast<std::size_t>(count), ' '), count);
        }
    }
};

std::string WithoutTrailingBlanks(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

class TextWriter {
  public:
    TextWriter(const CalendarDocument& document, const DisplayColumns& columns,
               const std::optional<TextHighlight>& today)
        : document_(document), columns_(columns), today_(today) {}

    std::string Write() {
        if (document_.year) {
            WriteYear(*document_.year);
        } else {
            for (std::size_t k = 0; k < document_.pages.size(); ++k) {
                if (k > 0) {
                    out_ += '\n';
                }
                WriteMonth(document_.pages[k]);
            }
        }
        return out_;
    }

  private:
    int CellWidth() const { return document_.dayOfYear ? 3 : 2; }
    // Day columns, and the week column with its gap.
    int GridWidth() const { return (document_.weekNumbers ? 3 : 0) + 7 * (CellWidth() + 1) - 1; }

    void Emit(const Line& line) {
        out_ += WithoutTrailingBlanks(line.text);
        out_ += '\n';
    }

    Line Centred(const std::string& text, int width) const {
        const int columns = columns_.Of(text);
        Line line;
        line.Blanks((width - columns) / 2);
        line.Append(text, columns);
        return line;
    }

    void RightAligned(Line& line, const std::string& text, int width) const {
        const int columns = columns_.Of(text);
        line.Blanks(width - columns);
        line.Append(text, columns);
    }

    // The grid of a month: its title, the initials and `rows` weeks (all six, or those
    // with a day of the month).
    std::vector<Line> Grid(const MonthPage& month, const std::string& title, bool allRows) const {
        std::vector<Line> lines;
        lines.push_back(Centred(title, GridWidth()));
        std::vector<Line> heading;
        if (document_.weekNumbers) {
            heading.emplace_back();
            heading.back().Append("Wk", 2);
        }
        for (const GridColumn& column : month.columns) {
            RightAligned(heading.emplace_back(), column.initials, CellWidth());
        }
        lines.push_back(Row(heading));
        for (int row = 0; row < 6; ++row) {
            if (!allRows &&
                std::none_of(month.cells.begin() + 7 * row, month.cells.begin() + 7 * row + 7,
                             [](const DayCell& cell) { return cell.day > 0; })) {
                break;
            }
            std::vector<Line> week;
            if (document_.weekNumbers) {
                const int number = month.weekNumbers[static_cast<std::size_t>(row)];
                RightAligned(week.emplace_back(), number > 0 ? document_.Numeral(number) : "", 2);
            }
            for (int column = 0; column < 7; ++column) {
                const DayCell& cell = month.Cell(row, column);
                const std::string shown = document_.dayOfYear && cell.day > 0
                                              ? std::to_string(cell.dayOfYear)
                                              : cell.text;
                Line& shownCell = week.emplace_back();
                if (IsToday(month, cell)) {
                    shownCell.Blanks(CellWidth() - columns_.Of(shown));
                    shownCell.Append(kReverseVideo, 0);
                    shownCell.Append(shown, columns_.Of(shown));
                    shownCell.Append(kReverseVideoOff, 0);
                } else {
                    RightAligned(shownCell, shown, CellWidth());
                }
            }
            lines.push_back(Row(week));
        }
        return lines;
    }

    // Cells a column apart, from the right in a right-to-left document.
    Line Row(std::vector<Line> cells) const {
        if (document_.rightToLeft) {
            std::reverse(cells.begin(), cells.end());
        }
        Line row;
        for (std::size_t k = 0; k < cells.size(); ++k) {
            if (k > 0) {
                row.Append(" ", 1);
            }
            row.Append(cells[k].text, cells[k].columns);
        }
        return row;
    }

    bool IsToday(const MonthPage& month, const DayCell& cell) const {
        return today_ && cell.day > 0 && today_->year == month.year &&
               today_->monthIndex == month.monthIndex && today_->day == cell.day;
    }

    void WriteMonth(const MonthPage& month) {
        for (const Line& line : Grid(month, month.title, false)) {
            Emit(line);
        }
        if (HasEvents(month)) {
            out_ += '\n';
            WriteEvents(month);
        }
    }

    static bool HasEvents(const MonthPage& month) {
        return std::any_of(month.cells.begin(), month.cells.end(),
                           [](const DayCell& cell) { return !cell.events.lines.empty(); });
    }

    // "Tue  1  09:30  Stand-up", day by day: the short day name as wide as the widest,
    // the day, the time of a timed event, the title.
    void WriteEvents(const MonthPage& month) {
        int nameWidth = 0;
        for (const std::string& name : document_.shortDayNames) {
            nameWidth = std::max(nameWidth, columns_.Of(name));
        }
        for (int day = 1; day <= 31; ++day) {
            const auto cell = std::find_if(month.cells.begin(), month.cells.end(),
                                           [day](const DayCell& c) { return c.day == day; });
            if (cell == month.cells.end()) {
                break;
            }
            const std::size_t position = static_cast<std::size_t>(cell - month.cells.begin());
            const int weekday = month.columns[position % 7].weekday;
            const DayEvents& events = cell->events;
            const auto start = [&] {
                Line line;
                const std::string& name =
                    document_.shortDayNames[static_cast<std::size_t>(weekday)];
                line.Append(name, columns_.Of(name));
                line.Blanks(nameWidth - columns_.Of(name) + 1);
                RightAligned(line, cell->text, 2);
                line.Blanks(2);
                return line;
            };
            for (std::size_t k = 0; k < events.lines.size(); ++k) {
                const std::string& text = events.lines[k];
                const std::string time = k < events.times.size() ? events.times[k] : "";
                Line line = start();
                if (!time.empty() && text.size() > time.size()) {
                    line.Append(time, 0);
                    line.Append("  ", 0);
                    line.Append(std::string_view(text).substr(time.size() + 1), 0);
                } else {
                    line.Append(text, 0);
                }
                Emit(line);
            }
            if (events.more > 0) {
                Line line = start();
                // Appended: "+" + std::string draws a false -Wrestrict from mingw's GCC 12.
                line.Append("+", 0);
                line.Append(std::to_string(events.more), 0);
                line.Append(" more", 0);
                Emit(line);
            }
        }
    }

    void WriteYear(const YearPage& year) {
        const int width = GridWidth();
        Emit(Centred(year.title, static_cast<int>(kYearRowMonths) * width));
        for (std::size_t first = 0; first < year.months.size(); first += kYearRowMonths) {
            if (first > 0) {
                out_ += '\n';
            }
            std::vector<std::vector<Line>> grids;
            for (std::size_t k = first; k < first + kYearRowMonths && k < year.months.size(); ++k) {
                grids.push_back(Grid(year.months[k], year.months[k].name, true));
            }
            // Right to left, a row of months starts at the right too.
            if (document_.rightToLeft) {
                std::reverse(grids.begin(), grids.end());
            }
            for (std::size_t row = 0; row < grids.front().size(); ++row) {
                Line joined;
                for (std::size_t k = 0; k < grids.size(); ++k) {
                    if (k > 0) {
                        joined.Append(kYearGap, 2);
                    }
                    const Line& part = grids[k][row];
                    joined.Append(part.text, part.columns);
                    joined.Blanks(width - part.columns);
                }
                Emit(joined);
            }
        }
        for (const MonthPage& month : year.months) {
            if (HasEvents(month)) {
                out_ += '\n';
                out_ += month.title + "\n";
                WriteEvents(month);
            }
        }
    }

    const CalendarDocument& document_;
    const DisplayColumns& columns_;
    const std::optional<TextHighlight>& today_;
    std::string out_;
};

}  // namespace

std::string TextCalendar(const CalendarDocument& document, const DisplayColumns& columns,
                         const std::optional<TextHighlight>& today) {
    return TextWriter(document, columns, today).Write();
}

}  // namespace tessaly
