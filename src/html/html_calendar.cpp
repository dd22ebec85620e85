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

}  // namespace

std::vector<std::string> BuildHtmlCalendarLines(const CalendarRequest& request,
                                                const NameTable& names,
                                                std::string_view productWebAddress) {
    const std::string& month = names[kFirstMonthSlot + request.monthIndex];
    const std::string year = std::to_string(request.year);
    const WeekLayout layout = LayoutOf(request.weekStart);

    std::vector<std::string> lines;
    lines.reserve(92);
    lines.emplace_back("<html>");
    lines.emplace_back("<head>");
    lines.push_back(
        Concat({"<title>", month, " ", year, " calendar created with Tessaly</title>"}));
    lines.push_back(
        Concat({"<META NAME=\"Author\" CONTENT=\"Tessaly, ", productWebAddress, "\" />"}));
    lines.push_back(Concat({"<META NAME=\"Description\" CONTENT=\"This ", month, " ", year,
                            " calendar was created with Tessaly, a shareware tool for creating "
                            "calendars you can put online or print out.\" />"}));
    lines.emplace_back("<style>");
    lines.push_back(Concat({"  td {", kCellStyle}));
    lines.emplace_back("  #box {vertical-align: top; text-align: left;}");
    lines.emplace_back(
        "  #box_head {vertical-align: top; text-align: center; font-weight: bolder;}");
    if (request.colorWeekends) {
        lines.push_back(
            Concat({"  td.weekend {background: #", names[kWeekendColorSlot], "; ", kCellStyle}));
    }
    lines.emplace_back("</style>");
    lines.emplace_back("</head>");
    lines.emplace_back("<body>");
    lines.emplace_back(
        "<table cols=\"7\" cellpadding=\"2\" cellspacing=\"0\" border=\"1\" style=\"width: 100%; "
        "text-align: left;\">");
    lines.emplace_back(
        "<tbody><tr align=\"center\"><td style=\"vertical-align: top;\" rowspan=\"1\" "
        "colspan=\"7\">");
    lines.push_back(Concat(
        {"<strong><big><big><big>", month, " ", year, "</big></big></big></strong></td></tr>"}));
    lines.emplace_back("<tr>");
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
        for (int column = 1; column <= 7; ++column) {
            const char* opening = IsWeekendColumn(layout, column)
                                      ? "<td width=\"14%\" id=\"box\" class=\"weekend\"><strong>"
                                      : "<td width=\"14%\" id=\"box\"><strong>";
            lines.push_back(Concat({opening, CellText(request, row * 7 + column),
                                    "</strong><br><br><br><br><br><br></td>"}));
        }
        lines.emplace_back("</tr>");
    }
    lines.emplace_back("</tbody>");
    lines.emplace_back("</table><br>");
    lines.emplace_back("</body>");
    lines.emplace_back("</html>");
    return lines;
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
