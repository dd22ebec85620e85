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
std::string DayCellContent(const DayCell& cell) {
    const DayEvents& listed = cell.events;
    if (listed.lines.empty()) {
        return cell.text + "</strong><br><br><br><br><br><br>";
    }
    std::string content = cell.text + "</strong><ul class=\"events\">";
    for (const std::string& line : listed.lines) {
        content += "<li>" + HtmlEscaped(line) + "</li>";
    }
    std::size_t items = listed.lines.size();
    if (listed.more > 0) {
        content += "<li>+" + std::to_string(listed.more) + " more</li>";
        ++items;
    }
    content += "</ul>";
    for (std::size_t k = items; k < 5; ++k) {
        content += "<br>";
    }
    return content;
}

}  // namespace

std::vector<std::string> HtmlHead(const CalendarDocument& document,
                                  std::string_view productWebAddress) {
    std::vector<std::string> lines;
    lines.reserve(document.pages.size() * 80 + 20);
    // A right-to-left page lays its table out from the right, the week's first day there.
    lines.emplace_back(document.rightToLeft ? "<html dir=\"rtl\">" : "<html>");
    lines.emplace_back("<head>");
    if (document.listsEvents || document.regional) {
        lines.emplace_back("<meta charset=\"utf-8\">");
    }
    // Names may come from any locale (LOCPATH), so they are text, never markup.
    const std::string shown = HtmlEscaped(document.title);
    lines.push_back(Concat({"<title>", shown, " calendar created with Tessaly</title>"}));
    lines.push_back(
        Concat({"<META NAME=\"Author\" CONTENT=\"Tessaly, ", productWebAddress, "\" />"}));
    lines.push_back(Concat({"<META NAME=\"Description\" CONTENT=\"This ", shown,
                            " calendar was created with Tessaly, a shareware tool for creating "
                            "calendars you can put online or print out.\" />"}));
    lines.emplace_back("<style>");
    lines.push_back(Concat({"  td {", kCellStyle}));
    // Texts start at their cell's start: its right in a right-to-left page.
    const std::string_view start = document.rightToLeft ? "right" : "left";
    const std::string_view end = document.rightToLeft ? "left" : "right";
    lines.push_back(Concat({"  #box {vertical-align: top; text-align: ", start, ";}"}));
    lines.emplace_back(
        "  #box_head {vertical-align: top; text-align: center; font-weight: bolder;}");
    if (document.weekNumbers) {
        lines.emplace_back("  #week {vertical-align: top; text-align: center;}");
    }
    if (document.listsEvents) {
        lines.emplace_back("  ul.events {margin: 0; padding-left: 1.2em; font-size: 8pt;}");
    }
    if (document.colorWeekends) {
        lines.push_back(
            Concat({"  td.weekend {background: #", document.weekendColor, "; ", kCellStyle}));
    }
    if (document.dayOfYear) {
        lines.push_back(
            Concat({"  span.doy {float: ", end, "; font-size: 7pt; font-weight: normal;}"}));
    }
    lines.emplace_back("</style>");
    lines.emplace_back("</head>");
    lines.emplace_back("<body>");
    return lines;
}

void AppendHtmlPage(std::vector<std::string>& lines, const CalendarDocument& document,
                    std::size_t k) {
    const MonthPage& page = document.pages[k];
    const char* columns = document.weekNumbers ? "8" : "7";

    lines.push_back(Concat(
        {"<table cols=\"", columns, "\" cellpadding=\"2\" cellspacing=\"0\" border=\"1\" style=\"",
         k > 0 ? "page-break-before: always; " : "",
         "width: 100%; text-align: ", document.rightToLeft ? "right" : "left", ";\">"}));
    lines.push_back(
        Concat({"<tbody><tr align=\"center\"><td style=\"vertical-align: top;\" "
                "rowspan=\"1\" colspan=\"",
                columns, "\">"}));
    lines.push_back(Concat({"<strong><big><big><big>", HtmlEscaped(page.title),
                            "</big></big></big></strong></td></tr>"}));
    lines.emplace_back("<tr>");
    if (document.weekNumbers) {
        lines.emplace_back("<td id=\"box_head\"");
        lines.emplace_back(">Wk<br></td>");
    }
    for (const GridColumn& column : page.columns) {
        lines.emplace_back("<td id=\"box_head\"");
        if (column.weekend) {
            lines.emplace_back(" class=\"weekend\"");
        }
        lines.push_back(Concat({">", HtmlEscaped(column.heading), "<br></td>"}));
    }
    lines.emplace_back("</tr>");
    for (int row = 0; row < 6; ++row) {
        lines.emplace_back("<tr>");
        if (document.weekNumbers) {
            const int week = page.weekNumbers[static_cast<std::size_t>(row)];
            lines.push_back(
                Concat({"<td id=\"week\">", week > 0 ? document.Numeral(week) : "", "</td>"}));
        }
        for (int column = 0; column < 7; ++column) {
            const DayCell& cell = page.Cell(row, column);
            const char* opening = cell.weekend
                                      ? "<td width=\"14%\" id=\"box\" class=\"weekend\"><strong>"
                                      : "<td width=\"14%\" id=\"box\"><strong>";
            // "123/242": the day of the year and the days left, in the upper right corner.
            const std::string dayOfYear =
                document.dayOfYear && cell.day > 0
                    ? Concat({"<span class=\"doy\">", std::to_string(cell.dayOfYear), "/",
                              std::to_string(cell.daysLeft), "</span>"})
                    : "";
            lines.push_back(Concat({opening, dayOfYear, DayCellContent(cell), "</td>"}));
        }
        lines.emplace_back("</tr>");
    }
    lines.emplace_back("</tbody>");
    lines.emplace_back("</table><br>");
}

void AppendHtmlTail(std::vector<std::string>& lines) {
    lines.emplace_back("</body>");
    lines.emplace_back("</html>");
}

std::vector<std::string> HtmlCalendarLines(const CalendarDocument& document,
                                           std::string_view productWebAddress) {
    std::vector<std::string> lines = HtmlHead(document, productWebAddress);
    for (std::size_t k = 0; k < document.pages.size(); ++k) {
        AppendHtmlPage(lines, document, k);
    }
    AppendHtmlTail(lines);
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
