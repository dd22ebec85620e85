#include "html/html_year.h"

#include "html/html_calendar.h"

namespace tessaly {

namespace {

constexpr std::size_t kMonthsPerRow = 4;

// Pieces joined; not "literal" + std::string, which mingw's GCC 12 warns of falsely
// (-Wrestrict).
std::string Joined(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (const std::string_view piece : pieces) {
        text += piece;
    }
    return text;
}

std::string DayCellLine(const DayCell& cell) {
    std::string classes = cell.weekend ? "weekend" : "";
    std::string tooltip;
    if (!cell.events.lines.empty()) {
        classes += classes.empty() ? "events" : " events";
        for (const std::string& line : cell.events.lines) {
            tooltip += Joined({tooltip.empty() ? "" : "&#10;", HtmlEscaped(line)});
        }
        if (cell.events.more > 0) {
            tooltip += Joined({"&#10;+", std::to_string(cell.events.more), " more"});
        }
    }
    std::string line = "<td";
    if (!classes.empty()) {
        line += Joined({" class=\"", classes, "\""});
    }
    if (!tooltip.empty()) {
        line += Joined({" title=\"", tooltip, "\""});
    }
    return Joined({line, ">", cell.text, "</td>"});
}

void AppendMonthTable(std::vector<std::string>& lines, const CalendarDocument& document,
                      const MonthPage& month) {
    lines.emplace_back("<table class=\"month\">");
    lines.push_back(Joined({"<caption>", HtmlEscaped(month.name), "</caption>"}));
    std::string heading = "<tr>";
    if (document.weekNumbers) {
        heading += "<th class=\"week\">Wk</th>";
    }
    for (const GridColumn& column : month.columns) {
        heading += column.weekend ? "<th class=\"weekend\">" : "<th>";
        heading += Joined({HtmlEscaped(column.initials), "</th>"});
    }
    lines.push_back(Joined({heading, "</tr>"}));
    for (int row = 0; row < 6; ++row) {
        lines.emplace_back("<tr>");
        if (document.weekNumbers) {
            const int week = month.weekNumbers[static_cast<std::size_t>(row)];
            lines.push_back(
                Joined({"<td class=\"week\">", week > 0 ? document.Numeral(week) : "", "</td>"}));
        }
        for (int column = 0; column < 7; ++column) {
            lines.push_back(DayCellLine(month.Cell(row, column)));
        }
        lines.emplace_back("</tr>");
    }
    lines.emplace_back("</table>");
}

}  // namespace

std::vector<std::string> HtmlYearLines(const CalendarDocument& document,
                                       std::string_view productWebAddress) {
    std::vector<std::string> lines;
    if (!document.year) {
        return lines;
    }
    const YearPage& year = *document.year;
    const std::string title = HtmlEscaped(year.title);
    lines.emplace_back("<!DOCTYPE html>");
    // Right to left, the months and their days run from the right.
    lines.emplace_back(document.rightToLeft ? "<html dir=\"rtl\">" : "<html>");
    lines.emplace_back("<head>");
    lines.emplace_back("<meta charset=\"utf-8\">");
    lines.push_back(Joined({"<title>", title, " calendar created with Tessaly</title>"}));
    lines.push_back(Joined(
        {"<META NAME=\"Author\" CONTENT=\"Tessaly, ", HtmlEscaped(productWebAddress), "\" />"}));
    lines.push_back(Joined({"<META NAME=\"Description\" CONTENT=\"This ", title,
                            " calendar was created with Tessaly, a shareware tool for creating "
                            "calendars you can put online or print out.\" />"}));
    lines.emplace_back("<style>");
    lines.emplace_back("  @page { size: landscape; margin: 10mm; }");
    lines.emplace_back(
        "  body {font-family: Verdana, Tahoma, Arial, Helvetica, sans-serif; margin: 0; "
        "-webkit-print-color-adjust: exact; print-color-adjust: exact;}");
    lines.emplace_back("  h1 {text-align: center; font-size: 20pt; margin: 0 0 4pt 0;}");
    lines.emplace_back("  table.year {width: 100%; border-collapse: collapse;}");
    lines.emplace_back(
        "  table.year > tbody > tr > td {width: 25%; vertical-align: top; "
        "padding: 2pt 10pt 6pt 10pt;}");
    lines.emplace_back("  table.month {width: 100%; border-collapse: collapse; font-size: 8pt;}");
    lines.emplace_back(
        "  table.month caption {font-weight: bold; font-size: 11pt; "
        "padding-bottom: 2pt;}");
    lines.emplace_back(
        "  table.month th, table.month td {text-align: right; padding: 1pt 3pt; "
        "height: 11pt;}");
    lines.emplace_back("  table.month .week {font-style: italic; font-size: 6pt; width: 1%;}");
    if (document.colorWeekends) {
        lines.push_back(Joined(
            {"  table.month .weekend {background: #", HtmlEscaped(document.weekendColor), ";}"}));
    }
    if (document.listsEvents) {
        lines.emplace_back(
            "  table.month td.events {font-weight: bold; "
            "text-decoration: underline;}");
    }
    lines.emplace_back("</style>");
    lines.emplace_back("</head>");
    lines.emplace_back("<body>");
    lines.push_back(Joined({"<h1>", title, "</h1>"}));
    lines.emplace_back("<table class=\"year\">");
    lines.emplace_back("<tbody>");
    for (std::size_t first = 0; first < year.months.size(); first += kMonthsPerRow) {
        lines.emplace_back("<tr>");
        for (std::size_t k = first; k < first + kMonthsPerRow && k < year.months.size(); ++k) {
            lines.emplace_back("<td>");
            AppendMonthTable(lines, document, year.months[k]);
            lines.emplace_back("</td>");
        }
        lines.emplace_back("</tr>");
    }
    lines.emplace_back("</tbody>");
    lines.emplace_back("</table>");
    lines.emplace_back("</body>");
    lines.emplace_back("</html>");
    return lines;
}

}  // namespace tessaly
