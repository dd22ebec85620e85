// tessaly-cli --events: the fixtures' events in the right cells of both formats, in the
// user's time zone, with nothing of a file able to break the PDF or reach the page as
// markup; files that cannot be read stop it before anything is written. The same table
// for tessaly-cli.exe under Wine, which takes the zone from TZ as Linux does.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "calendar/month_grid.h"
#include "cli/cli_run.h"
#include "pdfcalendar/pdf_calendar.h"
#include "support/golden.h"
#include "support/host_command.h"
#include "support/pdf_checks.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// The fixtures, copied read-only into a folder of their own: the runs must read them and
// leave them as they were.
class Fixtures {
  public:
    Fixtures() {
        for (const auto& entry : fs::directory_iterator(TESSALY_FIXTURES_DIR)) {
            const fs::path copy = folder_.path() / entry.path().filename();
            fs::copy_file(entry.path(), copy);
            fs::permissions(copy, fs::perms::owner_read | fs::perms::group_read);
        }
    }
    ~Fixtures() {
        for (const auto& entry : fs::directory_iterator(TESSALY_FIXTURES_DIR)) {
            const fs::path copy = folder_.path() / entry.path().filename();
            EXPECT_EQ(test::ReadWholeFile(copy), test::ReadWholeFile(entry.path()));
            fs::permissions(copy, fs::perms::owner_all);
        }
    }
    std::string operator[](const std::string& name) const {
        return (folder_.path() / name).string();
    }
    std::string Events(std::initializer_list<const char*> names) const {
        std::string options;
        for (const char* name : names) {
            options += " --events " + (*this)[name];
        }
        return options;
    }

  private:
    test::TempFolder folder_;
};

// Page (1, 2, ...) and day of a cell.
using Cell = std::pair<int, int>;
using Cells = std::map<Cell, std::vector<std::string>>;

// The day cells with a list, as a browser's parser reads the page; the page must be UTF-8,
// say so, and hold no element but the calendar's own.
Cells HtmlCells(const fs::path& page) {
    const test::CommandRun outline = test::RunHostCommand(
        "python3 " + test::HostPath(TESSALY_HTML_OUTLINE) + " " + test::HostPath(page));
    EXPECT_EQ(outline.exitCode, 0) << outline.output;
    std::istringstream lines(outline.output);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "charset utf-8");
    std::string elements;
    std::getline(lines, elements);
    Cells cells;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) {
            fields.push_back(field);
        }
        cells[{std::stoi(fields[0]), std::stoi(fields[1])}] = {fields.begin() + 2, fields.end()};
    }
    EXPECT_EQ(elements,
              cells.empty()
                  ? "elements big body br head html meta strong style table tbody td title tr"
                  : "elements big body br head html li meta strong style table tbody td "
                    "title tr ul");
    return cells;
}

// The text pdftotext finds in a day's cell, its number left out.
std::vector<std::string> PdfCell(const fs::path& pdf, CalendarRequest month, int page, int day) {
    month.year += (month.monthIndex + page - 1) / 12;
    month.monthIndex = (month.monthIndex + page - 1) % 12;
    const PdfPageGeometry geometry = PageGeometryOf(month.paper);
    const int position =
        FirstColumn(month.monthIndex, month.year, FirstWeekdayOf(month)) + day - 2;
    const int left = geometry.gridLeft + geometry.columnWidth * (position % 7);
    const int top = geometry.gridTop + geometry.rowHeight * (position / 7);
    const std::string command =
        "pdftotext -r 72 -f " + std::to_string(page) + " -l " + std::to_string(page) + " -x " +
        std::to_string(left) + " -y " + std::to_string(top) + " -W " +
        std::to_string(geometry.columnWidth) + " -H " + std::to_string(geometry.rowHeight) + " " +
        test::HostPath(pdf) + " -";
    std::vector<std::string> lines;
    std::istringstream split(test::RunHostCommand(command).output);
    for (std::string line; std::getline(split, line);) {
        if (!line.empty() && line != "\f") {
            lines.push_back(test::WithoutDirectionMarks(line));
        }
    }
    EXPECT_FALSE(lines.empty()) << "no day number in cell " << day;
    if (!lines.empty()) {
        EXPECT_EQ(lines.front(), std::to_string(day));
        lines.erase(lines.begin());
    }
    return lines;
}

struct EventsCase {
    std::vector<const char*> files;
    std::string options;  // month, year and the rest
    std::string timeZone;
    CalendarRequest month;  // the first month, for the PDF's geometry
    Cells html;             // every cell with events
    Cells pdf;              // where the PDF cuts or counts, else as html
    std::string warnings;
};

TEST(CliEvents, EventsStandUnderTheirDaysInTheUsersTimeZone) {
    const std::string ellipsis = "\xE2\x80\xA6";
    const std::string script =
        "<script>alert(\"x\")</script> & <b>Co</b> 'quoted' (paren, back\\slash";
    const std::vector<std::string> slots = {
        "08:00 Slot 08", "09:00 Slot 09", "10:00 Slot 10", "11:00 Slot 11", "12:00 Slot 12",
        "13:00 Slot 13", "14:00 Slot 14", "15:00 Slot 15", "16:00 Slot 16", "17:00 Slot 17"};
    const CalendarRequest december{11, 2026, 1, false, false, true};
    const struct {
        std::string locale, two, nineThirty, cut;
#ifdef _WIN32
    } us{"en-US", "2:00", "9:30", "mov"};
#else
    } us{"en_US.UTF-8", "02:00", "09:30", "mo"};
#endif
    const std::string unknownZone =
        "time-zones.ics:18: unknown time zone \"Mars/Olympus_Mons\": its times are taken as "
        "local times";
    const EventsCase cases[] = {
        // Weekly on Mondays at 09:30 Berlin time: the 7th moved to the 8th, the 14th left out.
        {{"weekly-meeting.ics"},
         "--month 12 --year 2026",
         "Europe/Berlin",
         december,
         {{{1, 8}, {"14:00 Team meeting (moved)"}},
          {{1, 21}, {"09:30 Team meeting"}},
          {{1, 28}, {"09:30 Team meeting"}}},
         {},
         ""},
        {{"weekly-meeting.ics"},
         "--month 12 --year 2026",
         "America/New_York",
         december,
         {{{1, 8}, {"08:00 Team meeting (moved)"}},
          {{1, 21}, {"03:30 Team meeting"}},
          {{1, 28}, {"03:30 Team meeting"}}},
         {},
         ""},
        // The locale's own short times: glibc's en_US writes "%I:%M %p", Windows' en-US
        // "h:mm tt", whose narrower line keeps a letter more in the PDF's cell.
        {{"weekly-meeting.ics"},
         "--month 12 --year 2026 --locale " + us.locale,
         "Europe/Berlin",
         december,
         {{{1, 8}, {us.two + " PM Team meeting (moved)"}},
          {{1, 21}, {us.nineThirty + " AM Team meeting"}},
          {{1, 28}, {us.nineThirty + " AM Team meeting"}}},
         {{{1, 8}, {us.two + " PM Team meeting (" + us.cut + ellipsis}}},
         ""},
        // Born on 29 February: only in leap years.
        {{"leap-birthday.ics"},
         "--month 2 --year 2028",
         "UTC",
         {1, 2028, 1},
         {{{1, 29}, {"Leap birthday"}}},
         {},
         ""},
        {{"leap-birthday.ics"}, "--month 2 --year 2027", "UTC", {1, 2027, 1}, {}, {}, ""},
        // Three days across the year's end, on both pages.
        {{"across-year-end.ics"},
         "--month 12 --year 2026 --months 2",
         "UTC",
         december,
         {{{1, 30}, {"Winter retreat"}},
          {{1, 31}, {"Winter retreat"}},
          {{2, 1}, {"Winter retreat"}}},
         {},
         ""},
        // 23:30 UTC on the 1st is the 2nd in Berlin; noon in New York, evening there; a
        // zone nobody knows is local time, every ten days since 1990.
        {{"time-zones.ics"},
         "--month 12 --year 2026",
         "Europe/Berlin",
         december,
         {{{1, 2}, {"00:30 Late call"}},
          {{1, 3}, {"18:00 New York lunch"}},
          {{1, 8}, {"07:00 Rover check"}},
          {{1, 18}, {"07:00 Rover check"}},
          {{1, 28}, {"07:00 Rover check"}}},
         {},
         unknownZone},
        {{"time-zones.ics"},
         "--month 12 --year 2026",
         "America/Los_Angeles",
         december,
         {{{1, 1}, {"15:30 Late call"}},
          {{1, 3}, {"09:00 New York lunch"}},
          {{1, 8}, {"07:00 Rover check"}},
          {{1, 18}, {"07:00 Rover check"}},
          {{1, 28}, {"07:00 Rover check"}}},
         {},
         unknownZone},
        // A zone whose rule changes hourly would stall libical for seconds: the file's
        // definition is left out and the zone known by its name serves.
        {{"hourly-zone.ics"},
         "--month 12 --year 2026",
         "UTC",
         december,
         {{{1, 3}, {"08:30 Board meeting"}}},
         {},
         "hourly-zone.ics:4: the time zone \"Europe/Berlin\" changes more often than once a "
         "year, as no zone does: it is left out"},
        // Markup and script in a title are text; a Cyrillic one in the embedded face; ten
        // events in a day, six and "+4 more" in a Letter cell.
        {{"untrusted-titles.ics", "busy-day.ics"},
         "--month 12 --year 2026",
         "UTC",
         december,
         {{{1, 10}, {script}}, {{1, 11}, {"День рождения бабушки"}}, {{1, 16}, slots}},
         {{{1, 10}, {"<script>alert(\"x\")</script> & <" + ellipsis}},
          {{1, 16}, {slots[0], slots[1], slots[2], slots[3], slots[4], slots[5], "+4 more"}}},
         ""},
        // Arabic with a vowel mark, Japanese, Thai and Russian in one month, each in a
        // face that holds it.
        {{"many-scripts.ics"},
         "--month 12 --year 2026",
         "UTC",
         december,
         {{{1, 4},
           {/* "مُدير المشروع" */ "\xD9\x85\xD9\x8F\xD8\xAF\xD9\x8A\xD8\xB1 "
                                 "\xD8\xA7\xD9\x84\xD9\x85\xD8\xB4\xD8\xB1\xD9\x88\xD8\xB9"}},
          {{1, 5}, {"チーム会議"}},
          {{1, 6}, {"ประชุมทีม"}},
          {{1, 7}, {"Совещание"}}},
         {},
         ""},
    };
    Fixtures fixtures;
    for (const EventsCase& c : cases) {
        SCOPED_TRACE(std::string(c.files.front()) + " " + c.options + " TZ=" + c.timeZone);
        test::TempFolder folder;
        std::string events;
        for (const char* file : c.files) {
            events += " --events " + fixtures[file];
        }
        const std::string environment = "SOURCE_DATE_EPOCH=1700000000 TZ=" + c.timeZone;
        const auto html = test::RunCli(
            c.options + events + " -o " + (folder.path() / "c.html").string(), environment);
        ASSERT_EQ(html.status, 0) << html.output;
        const std::string expectedWarnings =
            c.warnings.empty() ? "" : "tessaly-cli: warning: " + fixtures[""] + c.warnings + "\n";
        EXPECT_EQ(html.output, expectedWarnings + (folder.path() / "c.html").string() + "\n");
        EXPECT_EQ(HtmlCells(folder.path() / "c.html"), c.html);

        const fs::path pdf = folder.path() / "c.pdf";
        const auto made =
            test::RunCli("--pdf " + c.options + events + " -o " + pdf.string(), environment);
        ASSERT_EQ(made.status, 0) << made.output;
        EXPECT_EQ(test::OutsideCheckFailures(pdf), "");
        for (const auto& [cell, lines] : c.html) {
            const auto cut = c.pdf.find(cell);
            EXPECT_EQ(PdfCell(pdf, c.month, cell.first, cell.second),
                      cut != c.pdf.end() ? cut->second : lines)
                << "page " << cell.first << ", day " << cell.second;
        }
    }
}

// Times at the clock's changes as RFC 5545 (3.3.5) reads them: one the clock skips with
// the offset from before the change, one it gives twice as the first. Rules by other
// calendars than the Gregorian (RFC 7529), which libical follows only with ICU, leave
// their events out everywhere, each named in a warning.
TEST(CliEvents, ClockChangesAndOtherCalendarsReadAlikeOnEverySystem) {
    test::TempFolder inputs;
    const fs::path file = inputs.path() / "edges.ics";
    test::WriteWholeFile(file, test::CrLfLines({
                                   "BEGIN:VCALENDAR",
                                   "VERSION:2.0",
                                   "PRODID:-//Tessaly tests//EN",
                                   "BEGIN:VEVENT",
                                   "UID:gap@tessaly.test",
                                   "DTSTART;TZID=America/New_York:20260308T023000",
                                   "SUMMARY:In the gap",
                                   "END:VEVENT",
                                   "BEGIN:VEVENT",
                                   "UID:twice@tessaly.test",
                                   "DTSTART;TZID=America/New_York:20261101T013000",
                                   "SUMMARY:Twice",
                                   "END:VEVENT",
                                   "BEGIN:VEVENT",
                                   "UID:purim@tessaly.test",
                                   "DTSTART;VALUE=DATE:20260303",
                                   "RRULE:RSCALE=HEBREW;FREQ=YEARLY",
                                   "SUMMARY:Purim",
                                   "END:VEVENT",
                                   "BEGIN:VEVENT",
                                   "UID:leap@tessaly.test",
                                   "DTSTART;VALUE=DATE:20260317",
                                   "RRULE:FREQ=YEARLY;BYMONTH=5L;BYMONTHDAY=1",
                                   "SUMMARY:Leap month",
                                   "END:VEVENT",
                                   "END:VCALENDAR",
                               }));
    const std::string left = "tessaly-cli: warning: " + file.string() + ":";
    const std::string warnings =
        left + "14: the event \"Purim\": it recurs by another calendar than the Gregorian " +
        "(RSCALE=HEBREW), which is not followed: it is left out\n" + left +
        "20: the event \"Leap month\": it recurs by another calendar than the Gregorian (a " +
        "leap month, BYMONTH=5L), which is not followed: it is left out\n";
    // March to November 2026: 2:30 on 8 March is 7:30 UTC, 1:30 on 1 November 5:30 UTC.
    const std::pair<const char*, Cells> cases[] = {
        {"America/New_York", {{{1, 8}, {"03:30 In the gap"}}, {{9, 1}, {"01:30 Twice"}}}},
        {"UTC", {{{1, 8}, {"07:30 In the gap"}}, {{9, 1}, {"05:30 Twice"}}}},
    };
    for (const auto& [timeZone, cells] : cases) {
        SCOPED_TRACE(timeZone);
        test::TempFolder folder;
        const fs::path page = folder.path() / "c.html";
        const auto run = test::RunCli(
            "--month 3 --year 2026 --months 9 --events " + file.string() + " -o " + page.string(),
            std::string("TZ=") + timeZone);
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(run.output, warnings + page.string() + "\n");
        EXPECT_EQ(HtmlCells(page), cells);
    }
}

// Every --events file of a December is in its cells: the page's markup and the PDF's
// drawing, byte for byte (the PDF of Windows-1252 texts only, drawn alike everywhere).
TEST(CliEvents, PagesWithEventsAreTheGoldenFiles) {
    Fixtures fixtures;
    test::TempFolder folder;
    const std::string common =
        "--month 12 --year 2026 --week-start monday --week-numbers" +
        fixtures.Events({"weekly-meeting.ics", "across-year-end.ics", "busy-day.ics"});
    const std::string environment = "SOURCE_DATE_EPOCH=1700000000 TZ=Europe/Berlin";
    ASSERT_EQ(
        test::RunCli(common + " --color-weekends" + fixtures.Events({"untrusted-titles.ics"}) +
                         " -o " + (folder.path() / "c.html").string(),
                     environment)
            .status,
        0);
    EXPECT_TRUE(test::MatchesGolden(test::ReadWholeFile(folder.path() / "c.html"),
                                    "december-2026-events.html"));
    ASSERT_EQ(
        test::RunCli("--pdf " + common + " -o " + (folder.path() / "c.pdf").string(), environment)
            .status,
        0);
    EXPECT_TRUE(test::MatchesGolden(test::ReadWholeFile(folder.path() / "c.pdf"),
                                    "december-2026-events.pdf"));
}

// Event lines beside the regular Helvetica lines are in regular faces: one subset of each
// face that draws some of them, where no one face holds every script.
TEST(CliEvents, EventLinesInManyScriptsTakeRegularFacesOnceEach) {
    Fixtures fixtures;
    test::TempFolder folder;
    const fs::path pdf = folder.path() / "c.pdf";
    ASSERT_EQ(test::RunCli("--pdf --month 12 --year 2026" + fixtures.Events({"many-scripts.ics"}) +
                               " -o " + pdf.string(),
                           "SOURCE_DATE_EPOCH=1700000000 TZ=UTC")
                  .status,
              0);
    const std::string fonts =
        test::RunHostCommand("pdffonts " + test::HostPath(pdf) + " 2>&1").output;
    std::vector<std::string> faces;
    const std::regex subset("\n[A-Z]{6}\\+(\\S+)");
    for (auto match = std::sregex_iterator(fonts.begin(), fonts.end(), subset);
         match != std::sregex_iterator(); ++match) {
        faces.push_back((*match)[1]);
    }
    EXPECT_GE(faces.size(), 3u) << fonts;
    for (const std::string& face : faces) {
        EXPECT_EQ(std::count(faces.begin(), faces.end(), face), 1) << fonts;
        EXPECT_EQ(face.find("Bold"), std::string::npos) << fonts;
    }
}

// A file that cannot be read is named, with its line where libical gives one; nothing is
// written, in either format.
TEST(CliEvents, FilesThatCannotBeReadStopBeforeAnythingIsWritten) {
    Fixtures fixtures;
    test::TempFolder inputs;
    const auto write = [&](const std::string& name, const std::string& text) {
        test::WriteWholeFile(inputs.path() / name, text);
        return (inputs.path() / name).string();
    };
    const std::string weekly = test::ReadWholeFile(fixtures["weekly-meeting.ics"]);
    const std::string cut =
        write("cut.ics", weekly.substr(0, weekly.find("SUMMARY:Team meeting\r\n")));
    const std::string notCalendar = write("notes.ics", "Shopping list\r\nBEGIN:VCALENDAR\r\n");
    const std::string empty = write("empty.ics", "");
    const std::string misnested =
        write("misnested.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VTODO\r\nEND:VCALENDAR\r\n");
    const std::string bare = write("bare.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART\r\n");
    const std::pair<std::string, std::string> cases[] = {
        {fixtures["malformed.ics"],
         ":7: Can't parse as DATE-TIME value in DTSTART property: 2026120"},
        {cut, ":27: the file ends inside VEVENT, before its END:VEVENT (is it cut short?)"},
        {notCalendar, ":1: not an iCalendar file: it does not begin with BEGIN:VCALENDAR"},
        {empty, ": not an iCalendar file: it is empty"},
        {misnested, ":3: END:VTODO where END:VEVENT was due"},
        {bare, ":3: not an iCalendar content line: \"DTSTART\""},
        {(inputs.path() / "missing.ics").string(), ": No such file or directory"},
        {inputs.path().string(), ": Is a directory"},
    };
    for (const auto& [file, message] : cases) {
        for (const std::string format : {"", "--pdf "}) {
            test::TempFolder output;
            const auto result = test::RunCli(format + "--month 12 --year 2026 --events " +
                                             fixtures["weekly-meeting.ics"] + " --events " + file +
                                             " --output " + output.path().string());
            EXPECT_EQ(result.status, 1) << file;
            EXPECT_EQ(result.output, "tessaly-cli: " + file + message + "\n");
            EXPECT_TRUE(output.entries().empty()) << file;
        }
    }
    const auto missing = test::RunCli("--events");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.output, "tessaly-cli: --events needs a value\n");
}

}  // namespace
}  // namespace tessaly
