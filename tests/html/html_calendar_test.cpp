#include <gtest/gtest.h>

#include "calendar/names.h"
#include "document/calendar_document.h"
#include "html/html_calendar.h"
#include "support/english_names.h"
#include "support/golden.h"

namespace tessaly {
namespace {

const std::string kStyle =
    "font-family: Verdana, Tahoma, Arial, Helvetica, sans-serif; font-size: 10pt; font-style: "
    "strong; color: #000000}";

using test::EnglishNames;

std::vector<std::string> Lines(const CalendarRequest& request, const NameTable& names) {
    return HtmlCalendarLines(ComposeCalendar(request, names, nullptr),
                             "https://orvanta.example/tessaly/");
}

std::string Page(const CalendarRequest& request, const NameTable& names) {
    return JoinLinesCrLf(Lines(request, names));
}

// Whole pages, every line of them, against the golden files.
TEST(HtmlCalendar, WholePagesAreTheGoldenFilesByteForByte) {
    struct Case {
        const char* golden;
        CalendarRequest request;
        const char* color;
        long lineCount;
    };
    const Case cases[] = {
        // January 2000 (1st a Saturday), Monday first, weekend rule on.
        {"january-2000-monday-shaded.html", {0, 2000, 0, true}, "c0c0c0", 92},
        // February 2026 (1st a Sunday), Sunday first, rule off: the weekend marks stay,
        // the rule goes; a picked colour does not matter then.
        {"february-2026-sunday-plain.html", {1, 2026, 1, false}, "FF0000", 91},
        // Two months across a year's end, each its own printed page, with week numbers:
        // December ends in week 53, and January begins in it.
        {"december-2026-to-january-2027-monday-weeks.html",
         {11, 2026, 0, true, false, false, Paper::Letter, 2, true},
         "c0c0c0",
         186},
    };
    for (const auto& c : cases) {
        const std::string page = Page(c.request, EnglishNames(c.color));
        EXPECT_TRUE(test::MatchesGolden(page, c.golden));
        EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), c.lineCount) << c.golden;
    }
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
    const auto lines = Lines(request, names);
    const auto english = Lines(request, EnglishNames("c0c0c0"));
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

TEST(HtmlCalendar, EscapingLeavesOnlyText) {
    EXPECT_EQ(HtmlEscaped("<script>alert(\"x\")</script> & 'Co'"),
              "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; &#39;Co&#39;");
    EXPECT_EQ(HtmlEscaped("Plain \xD0\x94"), "Plain \xD0\x94");
}

}  // namespace
}  // namespace tessaly
