#include <gtest/gtest.h>

#include "calendar/names.h"
#include "html/html_calendar.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

using test::CrLfLines;

const std::string kStyle =
    "font-family: Verdana, Tahoma, Arial, Helvetica, sans-serif; font-size: 10pt; font-style: "
    "strong; color: #000000}";
const std::string kEnd = "</strong><br><br><br><br><br><br></td>";
const std::string kDay = "<td width=\"14%\" id=\"box\"><strong>";
const std::string kWeekend = "<td width=\"14%\" id=\"box\" class=\"weekend\"><strong>";

std::string Head(const std::string& title, const std::string& colorRule) {
    std::string head = CrLfLines({
        "<html>",
        "<head>",
        "<title>" + title + " calendar created with Tessaly</title>",
        "<META NAME=\"Author\" CONTENT=\"Tessaly, https://orvanta.example/tessaly/\" />",
        "<META NAME=\"Description\" CONTENT=\"This " + title +
            " calendar was created with Tessaly, a shareware tool for creating calendars you can "
            "put online or print out.\" />",
        "<style>",
        "  td {" + kStyle,
        "  #box {vertical-align: top; text-align: left;}",
        "  #box_head {vertical-align: top; text-align: center; font-weight: bolder;}",
    });
    if (!colorRule.empty()) {
        head += CrLfLines({"  td.weekend {background: #" + colorRule + "; " + kStyle});
    }
    return head + CrLfLines({
                      "</style>",
                      "</head>",
                      "<body>",
                      "<table cols=\"7\" cellpadding=\"2\" cellspacing=\"0\" border=\"1\" "
                      "style=\"width: 100%; text-align: left;\">",
                      "<tbody><tr align=\"center\"><td style=\"vertical-align: top;\" "
                      "rowspan=\"1\" colspan=\"7\">",
                      "<strong><big><big><big>" + title + "</big></big></big></strong></td></tr>",
                      "<tr>",
                  });
}

const std::string kTail = CrLfLines({"</tbody>", "</table><br>", "</body>", "</html>"});

NameTable EnglishNames(const std::string& color) {
    NameTable names;
    FillDayNames(names, false, {});
    FillMonthNames(names, false, {});
    names[kWeekendColorSlot] = color;
    return names;
}

std::string Page(const CalendarRequest& request, const NameTable& names) {
    return JoinLinesCrLf(
        BuildHtmlCalendarLines(request, names, "https://orvanta.example/tessaly/"));
}

// January 2000 (1st a Saturday), Monday first, weekend rule on: every line written out.
TEST(HtmlCalendar, MondayLayoutWithTheDefaultColourIsThePageByteForByte) {
    const std::string expected = Head("January 2000", "c0c0c0") +
                                 CrLfLines({
                                     "<td id=\"box_head\"",
                                     ">Monday<br></td>",
                                     "<td id=\"box_head\"",
                                     ">Tuesday<br></td>",
                                     "<td id=\"box_head\"",
                                     ">Wednesday<br></td>",
                                     "<td id=\"box_head\"",
                                     ">Thursday<br></td>",
                                     "<td id=\"box_head\"",
                                     ">Friday<br></td>",
                                     "<td id=\"box_head\"",
                                     " class=\"weekend\"",
                                     ">Saturday<br></td>",
                                     "<td id=\"box_head\"",
                                     " class=\"weekend\"",
                                     ">Sunday<br></td>",
                                     "</tr>",
                                     "<tr>",
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kWeekend + "1" + kEnd,
                                     kWeekend + "2" + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kDay + "3" + kEnd,
                                     kDay + "4" + kEnd,
                                     kDay + "5" + kEnd,
                                     kDay + "6" + kEnd,
                                     kDay + "7" + kEnd,
                                     kWeekend + "8" + kEnd,
                                     kWeekend + "9" + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kDay + "10" + kEnd,
                                     kDay + "11" + kEnd,
                                     kDay + "12" + kEnd,
                                     kDay + "13" + kEnd,
                                     kDay + "14" + kEnd,
                                     kWeekend + "15" + kEnd,
                                     kWeekend + "16" + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kDay + "17" + kEnd,
                                     kDay + "18" + kEnd,
                                     kDay + "19" + kEnd,
                                     kDay + "20" + kEnd,
                                     kDay + "21" + kEnd,
                                     kWeekend + "22" + kEnd,
                                     kWeekend + "23" + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kDay + "24" + kEnd,
                                     kDay + "25" + kEnd,
                                     kDay + "26" + kEnd,
                                     kDay + "27" + kEnd,
                                     kDay + "28" + kEnd,
                                     kWeekend + "29" + kEnd,
                                     kWeekend + "30" + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kDay + "31" + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kWeekend + kEnd,
                                     kWeekend + kEnd,
                                     "</tr>",
                                 }) +
                                 kTail;
    const CalendarRequest request{0, 2000, 0, true};
    const std::string page = Page(request, EnglishNames("c0c0c0"));
    EXPECT_EQ(page, expected);
    EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), 92);
}

// February 2026 (1st a Sunday), Sunday first, rule off: the weekend marks stay, the rule
// goes; a picked colour does not matter then.
TEST(HtmlCalendar, SundayLayoutWithTheRuleOffIsThePageByteForByte) {
    const std::string expected = Head("February 2026", "") +
                                 CrLfLines({
                                     "<td id=\"box_head\"",
                                     " class=\"weekend\"",
                                     ">Sunday<br></td>",
                                     "<td id=\"box_head\"",
                                     ">Monday<br></td>",
                                     "<td id=\"box_head\"",
                                     ">Tuesday<br></td>",
                                     "<td id=\"box_head\"",
                                     ">Wednesday<br></td>",
                                     "<td id=\"box_head\"",
                                     ">Thursday<br></td>",
                                     "<td id=\"box_head\"",
                                     ">Friday<br></td>",
                                     "<td id=\"box_head\"",
                                     " class=\"weekend\"",
                                     ">Saturday<br></td>",
                                     "</tr>",
                                     "<tr>",
                                     kWeekend + "1" + kEnd,
                                     kDay + "2" + kEnd,
                                     kDay + "3" + kEnd,
                                     kDay + "4" + kEnd,
                                     kDay + "5" + kEnd,
                                     kDay + "6" + kEnd,
                                     kWeekend + "7" + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kWeekend + "8" + kEnd,
                                     kDay + "9" + kEnd,
                                     kDay + "10" + kEnd,
                                     kDay + "11" + kEnd,
                                     kDay + "12" + kEnd,
                                     kDay + "13" + kEnd,
                                     kWeekend + "14" + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kWeekend + "15" + kEnd,
                                     kDay + "16" + kEnd,
                                     kDay + "17" + kEnd,
                                     kDay + "18" + kEnd,
                                     kDay + "19" + kEnd,
                                     kDay + "20" + kEnd,
                                     kWeekend + "21" + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kWeekend + "22" + kEnd,
                                     kDay + "23" + kEnd,
                                     kDay + "24" + kEnd,
                                     kDay + "25" + kEnd,
                                     kDay + "26" + kEnd,
                                     kDay + "27" + kEnd,
                                     kWeekend + "28" + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kWeekend + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kWeekend + kEnd,
                                     "</tr>",
                                     "<tr>",
                                     kWeekend + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kDay + kEnd,
                                     kWeekend + kEnd,
                                     "</tr>",
                                 }) +
                                 kTail;
    const CalendarRequest request{1, 2026, 1, false};
    const std::string page = Page(request, EnglishNames("FF0000"));
    EXPECT_EQ(page, expected);
    EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), 91);
}

// A picked colour and localized names reach only the lines that carry them.
TEST(HtmlCalendar, PickedColourAndLocaleNamesChangeOnlyTheirLines) {
    LocaleNames french;
    french.days = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
    french.months = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                     "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    NameTable names;
    FillDayNames(names, true, french);
    FillMonthNames(names, true, french);
    names[kWeekendColorSlot] = "0080FF";
    const CalendarRequest request{7, 2030, 0, true};  // August 2030
    const auto lines = BuildHtmlCalendarLines(request, names, "https://orvanta.example/tessaly/");
    const auto english =
        BuildHtmlCalendarLines(request, EnglishNames("c0c0c0"), "https://orvanta.example/tessaly/");
    ASSERT_EQ(lines.size(), english.size());
    std::vector<std::pair<size_t, std::string>> differences;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != english[i]) {
            differences.emplace_back(i + 1, lines[i]);
        }
    }
    const std::vector<std::pair<size_t, std::string>> expected = {
        {3, "<title>Août 2030 calendar created with Tessaly</title>"},
        {5,
         "<META NAME=\"Description\" CONTENT=\"This Août 2030 calendar was created with "
         "Tessaly, a shareware tool for creating calendars you can put online or print out.\" />"},
        {10, "  td.weekend {background: #0080FF; " + kStyle},
        {16, "<strong><big><big><big>Août 2030</big></big></big></strong></td></tr>"},
        {19, ">lundi<br></td>"},
        {21, ">mardi<br></td>"},
        {23, ">mercredi<br></td>"},
        {25, ">jeudi<br></td>"},
        {27, ">vendredi<br></td>"},
        {30, ">samedi<br></td>"},
        {33, ">dimanche<br></td>"},
    };
    EXPECT_EQ(differences, expected);
}

}  // namespace
}  // namespace tessaly
