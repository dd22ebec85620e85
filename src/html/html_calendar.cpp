#include "html/html_calendar.h"

namespace tessaly {

namespace {

constexpr const char* kCellStyle =
    "font-family: Verdana, Tahoma, Arial, Helvetica, sans-serif; font-size: 10pt; font-style: "
    "strong; color: #000000}";

std::string Concat(std::initializer_list<std::string_view> pieces) {
    std::string line;
    for (std::string_view piece : pieces) {
        line += piece;
    }
    return line;
}

// The day's number, then its events as a list. The blank lines after them keep the cell
// as tall as a cell without events.
std::string DayCellContent(const CalendarRequest& month, int position,
                           const EventCalendar* events) {
    std::string day = CellText(month, position);
    const DayEvents* listed = events != nullptr && !day.empty()
                                  ? events->On(month.year, month.monthIndex, std::stoi(day))
                                  : nullptr;
    if (listed == nullptr) {
        return day + "</strong><br><br><br><br><br><br>";
    }
    std::string cell = day + "</strong><ul class=\"events\">";
    for (const std::string& line : listed->lines) {
        cell += "<li>" + HtmlEscaped(line) + "</li>";
    }
    std::size_t items = listed->lines.size();
    if (listed->more > 0) {
        cell += "<li>+" + std::to_string(listed->more) + " more</li>";
        ++items;
    }
    cell += "</ul>";
    for (std::size_t k = items; k < 5; ++k) {
        cell += "<br>";
    }
    return cell;
}

// The table of one month.
void AppendMonthTable(std::vector<std::string>& lines, const CalendarRequest& request,
                      const NameTable& names, bool newPrintedPage, const EventCalendar* events) {
    const std::string& month = names[kFirstMonthSlot + request.monthIndex];
    const std::string year = std::to_string(request.year);
    const WeekLayout layout = LayoutOf(request.weekStart);
    const char* columns = request.weekNumbers ? "8" : "7";

    lines.push_back(Concat({"<table cols=\"", columns,
                            "\" cellpadding=\"2\" cellspacing=\"0\" border=\"1\" style=\"",
                            newPrintedPage ? "page-break-before: always; " : "",
                            "width: 100%; text-align: left;\">"}));
    lines.push_back(
        Concat({"<tbody><tr align=\"center\"><td style=\"vertical-align: top;\" "
                "rowspan=\"1\" colspan=\"",
                columns, "\">"}));
    lines.push_back(Concat(
        {"<strong><big><big><big>", month, " ", year, "</big></big></big></strong></td></tr>"}));
    lines.emplace_back("<tr>");
    if (request.weekNumbers) {
        lines.emplace_back("<td id=\"box_head\"");
        lines.emplace_back(">Wk<br></td>");
    }
    for (int column = 1; column <= 7; ++column) {
        lines.emplace_back("<td id=\"box_head\"");
        if (IsWeekendColumn(layout, column)) {
            lines.emplace_back(" class=\"weekend\"");
        }
        lines.push_back(Concat({">", names[DaySlotOfColumn(layout, column)], "<br></td>"}));
    }
    lines.emplace_back("</tr>");
    for (int row = 0; row < 6; ++row) {
        lines.emplace_back("<tr>");
        if (request.weekNumbers) {
            const int week = IsoWeekOfRow(request, row);
            lines.push_back(
                Concat({"<td id=\"week\">", week > 0 ? std::to_string(week) : "", "</td>"}));
        }
        for (int column = 1; column <= 7; ++column) {
            const char* opening = IsWeekendColumn(layout, column)
                                      ? "<td width=\"14%\" id=\"box\" class=\"weekend\"><strong>"
                                      : "<td width=\"14%\" id=\"box\"><strong>";
            lines.push_back(
                Concat({opening, DayCellContent(request, row * 7 + column, events), "</td>"}));
        }
        lines.emplace_back("</tr>");
    }
    lines.emplace_back("</tbody>");
    lines.emplace_back("</table><br>");
}

}  // namespace

std::vector<std::string> BuildHtmlCalendarLines(const CalendarRequest& request,
                                                const NameTable& names,
                                                std::string_view productWebAddress,
                                                const std::function<void(int)>& monthDone,
                                                const EventCalendar* events) {
    const std::vector<CalendarRequest> months = MonthsOf(request);
    const auto monthAndYear = [&](const CalendarRequest& month) {
        return names[kFirstMonthSlot + month.monthIndex] + " " + std::to_string(month.year);
    };
    // A range reads "December 2026 - January 2027" where one month's name and year stand.
    std::string shown = monthAndYear(months.front());
    if (months.size() > 1) {
        shown += " - " + monthAndYear(months.back());
    }

    std::vector<std::string> lines;
    lines.reserve(months.size() * 80 + 20);
    lines.emplace_back("<html>");
    lines.emplace_back("<head>");
    if (events != nullptr) {
        lines.emplace_back("<meta charset=\"utf-8\">");
    }
    lines.push_back(Concat({"<title>", shown, " calendar created with Tessaly</title>"}));
    lines.push_back(
        Concat({"<META NAME=\"Author\" CONTENT=\"Tessaly, ", productWebAddress, "\" />"}));
    lines.push_back(Concat({"<META NAME=\"Description\" CONTENT=\"This ", shown,
                            " calendar was created with Tessaly, a shareware tool for creating "
                            "calendars you can put online or print out.\" />"}));
    lines.emplace_back("<style>");
    lines.push_back(Concat({"  td {", kCellStyle}));
    lines.emplace_back("  #box {vertical-align: top; text-align: left;}");
    lines.emplace_back(
        "  #box_head {vertical-align: top; text-align: center; font-weight: bolder;}");
    if (request.weekNumbers) {
        lines.emplace_back("  #week {vertical-align: top; text-align: center;}");
    }
    if (events != nullptr) {
        lines.emplace_back("  ul.events {margin: 0; padding-left: 1.2em; font-size: 8pt;}");
    }
    if (request.colorWeekends) {
        lines.push_back(
            Concat({"  td.weekend {background: #", names[kWeekendColorSlot], "; ", kCellStyle}));
    }
    lines.emplace_back("</style>");
    lines.emplace_back("</head>");
    lines.emplace_back("<body>");
    for (std::size_t k = 0; k < months.size(); ++k) {
        AppendMonthTable(lines, months[k], names, k > 0, events);
        if (monthDone) {
            monthDone(static_cast<int>(k) + 1);
        }
    }
    lines.emplace_back("</body>");
    lines.emplace_back("</html>");
    return lines;
}

std::string HtmlEscaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace tessaly
