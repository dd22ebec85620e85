#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "support/pdf_checks.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

const LocalDateTime kToday{2031, 7, 14, 9, 30, 0};

struct GoodCase {
    std::vector<std::string> args;
    int month, year;
    std::optional<int> firstWeekday;
    bool colorWeekends;
    std::optional<ColorValue> color;
};

TEST(CliArguments, AcceptsEveryOptionAndFillsDefaults) {
    const GoodCase cases[] = {
        {{}, 7, 2031, {}, false, std::nullopt},
        {{"--month", "2", "--year", "2000"}, 2, 2000, {}, false, std::nullopt},
        {{"--month=12", "--year=2100", "--week-start=monday"}, 12, 2100, 1, false, std::nullopt},
        {{"--week-start", "sunday", "--color-weekends"}, 7, 2031, 0, true, std::nullopt},
        // A colour in HTML order becomes a red-low colour value and turns colouring on.
        {{"--color", "ff8000"}, 7, 2031, {}, true, ColorFromRgb(0xFF, 0x80, 0x00)},
        {{"--color", "0000FF"}, 7, 2031, {}, true, ColorFromRgb(0, 0, 0xFF)},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCliArguments(c.args, kToday);
        ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed)) << ::testing::PrintToString(c.args);
        const auto& options = std::get<CliOptions>(parsed);
        EXPECT_EQ(options.month, c.month);
        EXPECT_EQ(options.year, c.year);
        EXPECT_EQ(options.firstWeekday, c.firstWeekday);
        EXPECT_EQ(options.colorWeekends, c.colorWeekends);
        EXPECT_EQ(options.color, c.color);
    }
    // The printing options together; --locale implies --localized, and a range may end
    // in December 2100.
    const auto all = std::get<CliOptions>(
        ParseCliArguments({"--pdf", "--paper", "a4", "--months=24", "--week-numbers", "--locale",
                           "de_DE.UTF-8", "-o", "-", "--year", "2099", "--month", "1"},
                          kToday));
    EXPECT_EQ(all.paper, Paper::A4);
    EXPECT_EQ(all.months, 24);
    EXPECT_TRUE(all.weekNumbers && all.localized);
    EXPECT_EQ(all.locale, "de_DE.UTF-8");
    EXPECT_EQ(all.outputFile, "-");
}

// Any day of the week starts it, any one to six days make its weekend, and --regional
// takes the rest from the locale of the names.
TEST(CliArguments, WeeksWeekendsAndTheLocalesLayout) {
    struct Case {
        std::vector<std::string> args;
        std::optional<int> firstWeekday;
        const char* weekend;  // Sunday first; "" for none named
        bool regional;
    };
    const Case cases[] = {
        {{"--week-start", "saturday"}, 6, "", false},
        {{"--week-start=wednesday", "--weekend", "friday"}, 3, "0000010", false},
        {{"--weekend=friday,saturday"}, {}, "0000011", false},
        {{"--weekend", "sunday,monday,tuesday,wednesday,thursday,friday"}, {}, "1111110", false},
        {{"--locale", "he_IL.UTF-8", "--regional"}, {}, "", true},
        {{"--regional", "--localized", "--week-start", "tuesday", "--weekend", "thursday"},
         2,
         "0000100",
         true},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseCliArguments(c.args, kToday);
        ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed)) << ::testing::PrintToString(c.args);
        const auto& options = std::get<CliOptions>(parsed);
        EXPECT_EQ(options.firstWeekday, c.firstWeekday) << ::testing::PrintToString(c.args);
        std::string weekend;
        for (const bool day : options.weekend.value_or(Weekdays{})) {
            weekend += options.weekend && day ? '1' : '0';
        }
        EXPECT_EQ(options.weekend ? weekend : "", c.weekend) << ::testing::PrintToString(c.args);
        EXPECT_EQ(options.regional, c.regional);
        EXPECT_EQ(NeedsFullProgram(options), c.regional || options.localized);
    }
}

// The layout and the format: a year page starts in January unless told otherwise, and
// --pdf is --format pdf.
TEST(CliArguments, LayoutsAndFormats) {
    struct Case {
        std::vector<std::string> args;
        Layout layout;
        CliFormat format;
        int month, year;
        bool dayOfYear;
    };
    const Case cases[] = {
        {{}, Layout::Month, CliFormat::Html, 7, 2031, false},
        {{"--layout", "year"}, Layout::Year, CliFormat::Html, 1, 2031, false},
        {{"--layout=year", "--month", "9", "--year", "2026", "--pdf"},
         Layout::Year,
         CliFormat::Pdf,
         9,
         2026,
         false},
        {{"--layout", "month", "--format", "pdf", "--pdf"},
         Layout::Month,
         CliFormat::Pdf,
         7,
         2031,
         false},
        {{"--format", "text", "--day-of-year", "-o", "cal.txt"},
         Layout::Month,
         CliFormat::Text,
         7,
         2031,
         true},
        {{"--format", "text", "--layout", "year", "--year", "2100", "--open", "-o", "y.txt"},
         Layout::Year,
         CliFormat::Text,
         1,
         2100,
         false},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseCliArguments(c.args, kToday);
        ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed)) << ::testing::PrintToString(c.args);
        const auto& options = std::get<CliOptions>(parsed);
        EXPECT_EQ(options.layout, c.layout);
        EXPECT_EQ(options.format, c.format);
        EXPECT_EQ(options.month, c.month);
        EXPECT_EQ(options.year, c.year);
        EXPECT_EQ(options.dayOfYear, c.dayOfYear);
    }
}

// What only the program linked against the system's C library can do from the start:
// events and the regional module. Layouts, the text, A4 and a locale's names need nothing
// of it by themselves (a locale in another encoding, or faces not yet found, hand over
// later).
TEST(CliArguments, OnlyEventsAndRegionalNeedTheFullProgramFromTheStart) {
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{}, false},
        {{"--layout", "year", "--pdf", "--color-weekends", "--week-numbers"}, false},
        {{"--format", "text", "--layout", "year"}, false},
        {{"--format", "text", "--day-of-year", "--week-start", "monday"}, false},
        {{"--pdf", "--paper", "a4", "--months", "24", "--week-numbers"}, false},
        {{"--format", "text", "--locale", "ja_JP.UTF-8"}, false},
        {{"--pdf", "--localized"}, false},
        {{"--layout", "year", "--events", "x.ics"}, true},
        {{"--localized", "--regional"}, true},
    };
    for (const auto& [args, full] : cases) {
        const auto parsed = ParseCliArguments(args, kToday);
        ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed)) << ::testing::PrintToString(args);
        EXPECT_EQ(NeedsFullProgram(std::get<CliOptions>(parsed)), full)
            << ::testing::PrintToString(args);
    }
}

TEST(CliArguments, ClampsTodaysYearIntoTheRange) {
    EXPECT_EQ(std::get<CliOptions>(ParseCliArguments({}, {2150, 3, 1})).year, 2100);
    EXPECT_EQ(std::get<CliOptions>(ParseCliArguments({}, {1850, 3, 1})).year, 1900);
}

// Reading the clock and the time zone is start-up work a dated run does not need.
TEST(CliArguments, AsksTheDateOnlyWhenMonthOrYearIsMissing) {
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"--month", "2", "--year", "2000"}, false},
        {{"--month", "2"}, true},
        {{"--year", "2000"}, true},
        {{"--layout", "year", "--year", "2000"}, false},
        {{"--layout", "year"}, true},
    };
    for (const auto& [args, asked] : cases) {
        bool wasAsked = false;
        ParseCliArguments(args, [&] {
            wasAsked = true;
            return kToday;
        });
        EXPECT_EQ(wasAsked, asked) << ::testing::PrintToString(args);
    }
}

TEST(CliArguments, RejectsBadArgumentsNamingThem) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--month", "13"}, "--month: '13' is not a month from 1 to 12"},
        {{"--month", "0"}, "--month: '0' is not a month from 1 to 12"},
        {{"--year", "1899"}, "--year: '1899' is not a year from 1900 to 2100"},
        {{"--year", "20x0"}, "--year: '20x0' is not a year from 1900 to 2100"},
        {{"--year"}, "--year needs a value"},
        {{"--week-start", "Friday"},
         "--week-start: 'Friday' is not a day of the week (monday to sunday)"},
        {{"--week-start", "mon"},
         "--week-start: 'mon' is not a day of the week (monday to sunday)"},
        {{"--weekend"}, "--weekend needs a value"},
        {{"--weekend="}, "--weekend: the list of days is empty"},
        {{"--weekend", ","}, "--weekend: the list of days is empty"},
        {{"--weekend", "friday,sabbath"},
         "--weekend: 'sabbath' is not a day of the week (monday to sunday)"},
        {{"--weekend", "friday,,saturday"}, "--weekend: 'friday,,saturday' leaves a day out"},
        {{"--weekend", "saturday,"}, "--weekend: 'saturday,' leaves a day out"},
        {{"--weekend", "friday,saturday,friday"}, "--weekend: 'friday' is named twice"},
        {{"--weekend", "monday,tuesday,wednesday,thursday,friday,saturday,sunday"},
         "--weekend: all seven days cannot be the weekend"},
        {{"--regional"},
         "--regional needs --localized or --locale (the locale whose layout it takes)"},
        {{"--regional", "--week-start", "monday", "--pdf"},
         "--regional needs --localized or --locale (the locale whose layout it takes)"},
        {{"--regional=yes", "--localized"}, "--regional takes no value"},
        {{"--color", "12345"}, "--color: '12345' is not six hex digits (RRGGBB)"},
        {{"--color", "#12345"}, "--color: '#12345' is not six hex digits (RRGGBB)"},
        {{"--color", "12345G"}, "--color: '12345G' is not six hex digits (RRGGBB)"},
        {{"--pdf=1"}, "--pdf takes no value"},
        {{"--months", "25"}, "--months: '25' is not a number from 1 to 24"},
        {{"--month", "2", "--year", "2100", "--months", "12"},
         "--months: 12 months from 02/2100 run past December 2100"},
        {{"--paper", "a4"}, "--paper: an HTML page has no paper size (add --pdf)"},
        {{"--pdf", "--paper", "a3"}, "--paper: 'a3' is not letter or a4"},
        {{"--locale="}, "--locale: the locale name is empty"},
        {{"-o", "x.pdf", "--output", "."}, "-o FILE and --output DIR cannot be used together"},
        {{"-o", "out/"}, "-o: 'out/' names no file"},
        {{"--open", "-o", "-"}, "--open: standard output (-o -) cannot be opened"},
        {{"--layout", "week"}, "--layout: 'week' is not month or year"},
        {{"--format=doc"}, "--format: 'doc' is not html, pdf or text"},
        {{"--format"}, "--format needs a value"},
        {{"--pdf", "--format", "text"}, "--pdf and --format text cannot be used together"},
        {{"--format", "html", "--pdf"}, "--pdf and --format html cannot be used together"},
        {{"--format", "text", "--paper", "a4"},
         "--paper: a text calendar has no paper size (use --format pdf)"},
        {{"--layout", "year", "--paper", "letter"},
         "--paper: an HTML page has no paper size (add --pdf)"},
        {{"--format", "text", "--color", "ff0000"}, "--color: a text calendar has no colours"},
        {{"--layout", "year", "--months", "12"},
         "--months and --layout year cannot be used together (a year page holds twelve months)"},
        {{"--months=2", "--layout=year", "--pdf"},
         "--months and --layout year cannot be used together (a year page holds twelve months)"},
        {{"--layout", "year", "--day-of-year"},
         "--day-of-year and --layout year cannot be used together"},
        {{"--day-of-year=1"}, "--day-of-year takes no value"},
        {{"--layout", "year", "--month", "2", "--year", "2100"},
         "--layout year: 12 months from 02/2100 run past December 2100"},
        {{"--format", "text", "--output", "."},
         "--output: a text calendar goes to standard output (use -o FILE)"},
        {{"--format", "text", "--open"},
         "--open: a text calendar on standard output cannot be opened"},
        {{"--colour"}, "unknown option '--colour' (see --help)"},
        {{"june"}, "unknown option 'june' (see --help)"},
    };
    for (const auto& [args, message] : cases) {
        const auto parsed = ParseCliArguments(args, kToday);
        ASSERT_TRUE(std::holds_alternative<CliUsageError>(parsed)) << message;
        EXPECT_EQ(std::get<CliUsageError>(parsed).message, message);
    }
}

using test::RunCli;

TEST(CliProgram, WritesTheCalendarAndPrintsItsPath) {
    test::TempFolder folder;
    const auto result = RunCli("--month 2 --year 2021 --output " + folder.path().string());
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, (folder.path() / "calendar.html").string() + "\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"calendar.html"});
}

TEST(CliProgram, BadArgumentsExitWithTwoAndWriteNothing) {
    test::TempFolder folder;
    for (const char* bad :
         {"--month 13", "--year abc", "--color red", "--bogus", "--locale xx_YY.UTF-8"}) {
        const auto result = RunCli(std::string(bad) + " --output " + folder.path().string());
        EXPECT_EQ(result.status, 2) << bad;
        EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1) << result.output;
    }
    EXPECT_EQ(RunCli("--locale xx_YY.UTF-8").output,
              "tessaly-cli: --locale: 'xx_YY.UTF-8' is not an installed locale\n");
    EXPECT_TRUE(folder.entries().empty());
}

TEST(CliProgram, AFailedWriteExitsWithOneAndKeepsTheEarlierFile) {
    test::TempFolder folder;
    const auto missing = folder.path() / "no-such-folder";
    auto result = RunCli("--output " + missing.string());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "tessaly-cli: Cannot create file " +
                                 (missing / "calendar.html").string() +
                                 ": No such file or directory\n");

    // A folder standing where the file should go cannot be replaced.
    std::filesystem::create_directory(folder.path() / "calendar.html");
    result = RunCli("--output " + folder.path().string());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"calendar.html"});
}

TEST(CliProgram, PdfWithAFixedEpochIsReproducibleAndIgnoresTheColour) {
    test::TempFolder one, two;
    const std::string common = "--pdf --month 2 --year 2010 --week-start monday --color-weekends";
    auto result = RunCli("--output " + one.path().string() + " " + common);
    ASSERT_EQ(result.status, 0) << result.output;
    // Another colour, same moment: the same bytes (the PDF shading is always silver).
    result = RunCli("--color 00FF00 --output " + two.path().string() + " " + common);
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, (two.path() / "calendar.pdf").string() + "\n");
    const std::string first = test::ReadWholeFile(one.path() / "calendar.pdf");
    EXPECT_EQ(first, test::ReadWholeFile(two.path() / "calendar.pdf"));
    // 1700000000 is 2023-11-14 22:13:20 UTC.
    EXPECT_NE(first.find("/CreationDate (D:20231114221320)\r\n"), std::string::npos);
    EXPECT_NE(first.find("(February 2010) Tj"), std::string::npos);
    EXPECT_EQ(one.entries(), std::vector<std::string>{"calendar.pdf"});

    EXPECT_EQ(RunCli("--pdf --output " + one.path().string(), "SOURCE_DATE_EPOCH=soon").status, 1);
}

// What tessaly-cli says and writes where a careful tool would stop or go on.
TEST(CliProgram, SaysWhichFileAndWhyAndFollowsTheFileSystem) {
    struct Case {
        std::string arguments;  // {dir} is a fresh folder
        std::function<void(const std::filesystem::path&)> prepare;
        std::string environment, stdoutTo;
        int status;
        std::string output;  // {dir} as above
    };
    const auto none = [](const std::filesystem::path&) {};
    const std::string epoch = "SOURCE_DATE_EPOCH=1700000000";
    const Case cases[] = {
        {"--output {dir}",
         [](const std::filesystem::path& dir) {
             test::WriteWholeFile(dir / "calendar.html", "earlier");
             std::filesystem::permissions(dir / "calendar.html",
                                          std::filesystem::perms::owner_read);
         },
         epoch, "", 1, "tessaly-cli: Cannot create file {dir}/calendar.html: Permission denied\n"},
        // "link/.." is the folder above the link's target, not the folder of the link.
        {"--output {dir}/link/..",
         [](const std::filesystem::path& dir) {
             std::filesystem::create_directories(dir / "a/b");
             std::filesystem::create_directory_symlink("a/b", dir / "link");
         },
         epoch, "", 0, "{dir}/a/calendar.html\n"},
        {"--output {dir}/missing/..", none, epoch, "", 1,
         "tessaly-cli: Cannot create file {dir}/missing/../calendar.html: No such file or "
         "directory\n"},
        {"--help", none, epoch, "/dev/full", 1,
         "tessaly-cli: Cannot write to standard output: No space left on device\n"},
        {"--output {dir}", none, epoch, "/dev/full", 1,
         "tessaly-cli: Cannot write to standard output: No space left on device\n"},
        {"--pdf -o -", none, epoch, "/dev/full", 1,
         "tessaly-cli: Cannot write to standard output: No space left on device\n"},
        // Past 2038, and past 9999, where the PDF's date stops.
        {"--pdf --output {dir} && grep -ao 'D:[0-9]*' {dir}/calendar.pdf", none,
         "SOURCE_DATE_EPOCH=4102444800", "", 0, "{dir}/calendar.pdf\nD:21000101000000\n"},
        {"--pdf --output {dir} && grep -ao 'D:[0-9]*' {dir}/calendar.pdf", none,
         "SOURCE_DATE_EPOCH=9223372036854775807", "", 0, "{dir}/calendar.pdf\nD:99991204153007\n"},
        {"--pdf --output {dir}", none, "SOURCE_DATE_EPOCH=9223372036854775808", "", 1,
         "tessaly-cli: SOURCE_DATE_EPOCH is not a number of seconds: 9223372036854775808\n"},
    };
    for (const auto& c : cases) {
        test::TempFolder folder;
        const auto dir = std::filesystem::canonical(folder.path());
        const auto expand = [&](std::string text) {
            for (auto at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}")) {
                text.replace(at, 5, dir.string());
            }
            return text;
        };
        c.prepare(dir);
        const auto result = RunCli(expand(c.arguments), c.environment, c.stdoutTo);
        EXPECT_EQ(result.status, c.status) << c.arguments;
        EXPECT_EQ(result.output, expand(c.output)) << c.arguments;
    }
}

// A range is one file named by its first and last months, a page a month in order, across
// a year's end; however many pages are shaded, one picture object. No progress is shown
// where standard error is not a terminal.
TEST(CliProgram, RangesOfMonthsMakeOneFileOfManyPages) {
    struct Case {
        std::string options;
        std::string file;
        int pages;
        std::vector<std::string> titles;  // some, in page order
    };
    const Case cases[] = {
        {"--month 12 --year 2026 --months 2",
         "calendar-2026-12-to-2027-01.html",
         2,
         {"December 2026", "January 2027"}},
        {"--pdf --month 12 --year 2026 --months 2 --color-weekends",
         "calendar-2026-12-to-2027-01.pdf",
         2,
         {"December 2026", "January 2027"}},
        {"--pdf --paper a4 --week-numbers --month 1 --year 2027 --months 12 --color-weekends",
         "calendar-2027-01-to-2027-12.pdf",
         12,
         {"January 2027", "June 2027", "December 2027"}},
        {"--pdf --month 1 --year 2099 --months 24 --color-weekends --week-numbers",
         "calendar-2099-01-to-2100-12.pdf",
         24,
         {"January 2099", "December 2100"}},
        // Names in an embedded face, one subset for every page.
        {"--pdf --locale ru_RU.UTF-8 --month 12 --year 2026 --months 2 --color-weekends",
         "calendar-2026-12-to-2027-01.pdf",
         2,
         {"Декабрь 2026", "Январь 2027"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        test::TempFolder folder;
        const auto result = RunCli(c.options + " --output " + folder.path().string());
        ASSERT_EQ(result.status, 0) << result.output;
        EXPECT_EQ(result.output, (folder.path() / c.file).string() + "\n");
        ASSERT_EQ(folder.entries(), std::vector<std::string>{c.file});
        const auto path = folder.path() / c.file;
        std::string text = test::ReadWholeFile(path);
        const auto count = [&](const std::string& what) {
            std::size_t n = 0;
            for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
                ++n;
            }
            return n;
        };
        if (c.file.ends_with(".pdf")) {
            EXPECT_EQ(count("/Type /Page\r\n"), static_cast<std::size_t>(c.pages));
            EXPECT_EQ(count("/Subtype /Image"), 1u);
            EXPECT_EQ(count("/Im1 Do"), 12u * static_cast<std::size_t>(c.pages));
            EXPECT_LT(text.size(), 1024u * 1024);
            EXPECT_EQ(test::OutsideCheckFailures(path), "");
            text = test::ExtractedText(path).value_or(text);
            EXPECT_EQ(count("\f"), static_cast<std::size_t>(c.pages));
        } else {
            EXPECT_EQ(count("<table "), static_cast<std::size_t>(c.pages));
        }
        std::size_t at = 0;
        for (const std::string& title : c.titles) {
            at = text.find(title, at);
            EXPECT_NE(at, std::string::npos) << title;
        }
    }
}

// -o FILE writes exactly that file; -o - gives the same bytes on standard output and
// nothing else there.
TEST(CliProgram, OutputFileOrStandardOutput) {
    test::TempFolder folder;
    for (const std::string format : {"", "--pdf "}) {
        const auto file = folder.path() / "sub" / (format.empty() ? "plan.htm" : "plan");
        std::filesystem::create_directories(file.parent_path());
        const std::string options = format + "--month 3 --year 2027 --months 3 ";
        const auto written = RunCli(options + "-o " + file.string());
        EXPECT_EQ(written.status, 0) << written.output;
        EXPECT_EQ(written.output, file.string() + "\n");
        const auto piped = RunCli(options + "-o -");
        EXPECT_EQ(piped.status, 0);
        EXPECT_EQ(piped.output, test::ReadWholeFile(file)) << format;
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"sub"});
}

// A year page's file is named by its year, or by its first and last months; a text
// calendar goes to standard output, or to -o FILE, with today in reverse video only on
// a terminal without NO_COLOR; a bad combination writes nothing and exits 2.
TEST(CliProgram, YearPagesAndTextCalendars) {
    struct Case {
        std::string arguments;  // {dir} is a fresh folder
        std::string environment;
        int status;
        std::string output;  // {dir} as above
        std::vector<std::string> files;
    };
    const std::string epoch = "SOURCE_DATE_EPOCH=1700000000";
    const std::string february =
        "   February 2026\nSu Mo Tu We Th Fr Sa\n 1  2  3  4  5  6  7\n 8  9 10 11 12 13 14\n"
        "15 16 17 18 19 20 21\n22 23 24 25 26 27 28\n";
    const Case cases[] = {
        {"--layout year --year 2027 --pdf --output {dir}",
         epoch,
         0,
         "{dir}/calendar-2027.pdf\n",
         {"calendar-2027.pdf"}},
        {"--layout year --year 2026 --month 9 --output {dir}",
         epoch,
         0,
         "{dir}/calendar-2026-09-to-2027-08.html\n",
         {"calendar-2026-09-to-2027-08.html"}},
        {"--layout year --year 2100 --color-weekends --week-numbers --output {dir}",
         epoch,
         0,
         "{dir}/calendar-2100.html\n",
         {"calendar-2100.html"}},
        {"--format text --month 2 --year 2026 --output {dir}",
         epoch,
         2,
         "tessaly-cli: --output: a text calendar goes to standard output (use -o FILE)\n",
         {}},
        {"--format text --month 2 --year 2026", epoch, 0, february, {}},
        {"--format text --month 2 --year 2026 -o -", "NO_COLOR=1", 0, february, {}},
        {"--format text --month 2 --year 2026 -o {dir}/feb.txt",
         epoch,
         0,
         "{dir}/feb.txt\n",
         {"feb.txt"}},
        {"--layout year --month 12 --year 2100 --pdf --output {dir}",
         epoch,
         2,
         "tessaly-cli: --layout year: 12 months from 12/2100 run past December 2100\n",
         {}},
        {"--layout year --months 12 --output {dir}",
         epoch,
         2,
         "tessaly-cli: --months and --layout year cannot be used together (a year page holds "
         "twelve months)\n",
         {}},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const auto dir = std::filesystem::canonical(folder.path());
        const auto expand = [&](std::string text) {
            for (auto at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}")) {
                text.replace(at, 5, dir.string());
            }
            return text;
        };
        const auto result = RunCli(expand(c.arguments), c.environment);
        EXPECT_EQ(result.status, c.status) << c.arguments;
        EXPECT_EQ(result.output, expand(c.output)) << c.arguments;
        EXPECT_EQ(folder.entries(), c.files) << c.arguments;
        if (c.arguments.find("-o {dir}/feb.txt") != std::string::npos) {
            EXPECT_EQ(test::ReadWholeFile(dir / "feb.txt"), february);
        }
    }

    // On a terminal: today reversed, unless NO_COLOR says otherwise.
    if (std::system("script --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "script (bsdutils) gives no terminal here";
    }
    const auto onTerminal = [](const std::string& environment) {
        const std::string command =
            "env " + environment + " script -qec '" TESSALY_CLI_PATH " --format text' /dev/null";
        FILE* pipe = ::popen(command.c_str(), "r");
        std::string output;
        char buffer[4096];
        for (std::size_t got = 0; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, got);
        }
        EXPECT_EQ(::pclose(pipe), 0) << output;
        return output;
    };
    const std::string reversed = "\x1b[7m";
    EXPECT_NE(onTerminal("TERM=dumb").find(reversed), std::string::npos);
    EXPECT_EQ(onTerminal("TERM=dumb NO_COLOR=1").find(reversed), std::string::npos);
    EXPECT_EQ(RunCli("--format text").output.find(reversed), std::string::npos);
}

// The year page of the German year 2027 on A4, Sunday first, with ISO weeks and shaded
// weekends: one small page that the outside tools accept, in German.
TEST(CliProgram, AGermanYearOnA4) {
    test::TempFolder folder;
    const auto result = RunCli(
        "--layout year --year 2027 --pdf --paper a4 --week-numbers "
        "--color-weekends --locale de_DE.UTF-8 --output " +
        folder.path().string());
    ASSERT_EQ(result.status, 0) << result.output;
    const auto path = folder.path() / "calendar-2027.pdf";
    EXPECT_EQ(result.output, path.string() + "\n");
    EXPECT_LT(std::filesystem::file_size(path), 60u * 1024);
    EXPECT_EQ(test::OutsideCheckFailures(path), "");
    if (const auto text = test::ExtractedText(path)) {
        std::size_t at = 0;
        for (const char* word : {"2027", "Januar", "Wk", "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa",
                                 "M\xC3\xA4rz", "Dezember"}) {
            at = text->find(word, at);
            EXPECT_NE(at, std::string::npos) << word;
        }
        EXPECT_EQ(std::count(text->begin(), text->end(), '\f'), 1);
    }
}

TEST(CliProgram, HelpAndVersionSucceed) {
    EXPECT_EQ(RunCli("--help").status, 0);
    const auto version = RunCli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "tessaly-cli 3.5\n");
}

}  // namespace
}  // namespace tessaly
