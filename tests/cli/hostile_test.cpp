// The programs as an attacker or a first-time user on a bare machine tried them: each row
// a command line (through the shell, in a fresh folder), its exit status, what it says and
// the files it leaves in out/. Each row is a test of its own, whose time ctest bounds
// (TIMEOUT, tests/CMakeLists.txt): a hang fails it from outside.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace tessaly {
namespace {

enum Needs {
    kNothing = 0,
    kWindow = 1,      // the desktop program (a build with Qt)
    kRoot = 2,        // links of another user; a mount namespace without /proc
    kNoSanitizer = 4  // the sanitizers' runtime reads /proc
};

struct Row {
    const char* name;
    int needs;
    std::string setup;    // shell, in {dir}; must succeed
    std::string command;  // shell, in {dir}
    int status;
    std::string message;               // in what it printed; "" for anything
    std::vector<std::string> written;  // what out/ holds after
    std::string check = "true";        // shell, in {dir}; must succeed
};

// Markup in names: a locale built from this source (LOCPATH).
const std::string kMarkupLocale =
    "LC_CTYPE\ncopy \"i18n\"\nEND LC_CTYPE\nLC_TIME\n"
    "abday \"Sun\";\"Mon\";\"Tue\";\"Wed\";\"Thu\";\"Fri\";\"Sat\"\n"
    "day \"<U003C>b<U003E>Sun\";\"Mon<U0026>\";\"Tue<U0022>\";\"Wed<U0027>\";\"Thu\";\"Fri\";"
    "\"Sat\"\n"
    "abmon \"Jan\";\"Feb\";\"Mar\";\"Apr\";\"May\";\"Jun\";\"Jul\";\"Aug\";\"Sep\";\"Oct\";"
    "\"Nov\";\"Dec\"\n"
    "mon \"<U003C>script<U003E>x()<U003C>/script<U003E>\";\"Feb\";\"Mar\";\"Apr\";\"May\";"
    "\"Jun\";\"Jul\";\"Aug\";\"Sep\";\"Oct\";\"Nov\";\"Dec\"\n"
    "d_t_fmt \"%c\"\nd_fmt \"%x\"\nt_fmt \"%T\"\nam_pm \"AM\";\"PM\"\nt_fmt_ampm \"%r\"\n"
    "END LC_TIME\n";

const std::string kDecember = " --month 12 --year 2026 --output out";

const Row kRows[] = {
    // --- the first run on a machine without a display
    {"WindowWithoutDisplay",
     kWindow,
     "",
     "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM {window}",
     1,
     "tessaly: no display (DISPLAY and WAYLAND_DISPLAY are unset); tessaly-cli makes calendars "
     "without one\n",
     {}},
    // --- iCalendar files: the warning's title read inside the walk of the rules started it
    // again, for ever
    {"TitleBeforeSecondlyRule",
     kNothing,
     "",
     "{cli} --events {seeds}/title-before-secondly-rule.ics" + kDecember,
     0,
     ":4: the event \"Every second\": a recurrence this frequent is not followed",
     {"calendar.html"}},
    {"TitleBeforeHebrewRule",
     kNothing,
     "",
     "{cli} --events {seeds}/title-before-hebrew-rule.ics" + kDecember,
     0,
     ":4: the event \"Hebrew\": it recurs by another calendar than the Gregorian",
     {"calendar.html"}},
    {"TitleBeforeMinutelyRule",
     kNothing,
     "",
     "{cli} --events {seeds}/minutely-from-1900.ics" + kDecember,
     0,
     ":4: the event \"Minutely\": a recurrence this frequent is not followed",
     {"calendar.html"}},
    // A zone changing 84 times a year in each of 20 parts, from year 1: libical's built-in
    // zone of that name instead.
    {"ZoneChangingWeeklyFromYear1",
     kNothing,
     "{ printf 'BEGIN:VCALENDAR\\r\\nBEGIN:VTIMEZONE\\r\\nTZID:Europe/Berlin\\r\\n'; "
     "for k in $(seq 20); do printf 'BEGIN:STANDARD\\r\\nDTSTART:00010101T000000\\r\\n"
     "TZOFFSETFROM:+0100\\r\\nTZOFFSETTO:+0200\\r\\nRRULE:FREQ=YEARLY;"
     "BYMONTH=1,2,3,4,5,6,7,8,9,10,11,12;BYMONTHDAY=1,2,3,4,5,6,7\\r\\nEND:STANDARD\\r\\n'; "
     "done; printf 'END:VTIMEZONE\\r\\nBEGIN:VEVENT\\r\\nSUMMARY:Meeting\\r\\n"
     "DTSTART;TZID=Europe/Berlin:20261210T100000\\r\\nEND:VEVENT\\r\\nEND:VCALENDAR\\r\\n'; "
     "} >zone.ics",
     "TZ=UTC {cli} --events zone.ics" + kDecember +
         " && grep -o '<li>09:00 Meeting</li>' "
         "out/calendar.html",
     0,
     "zone.ics:2: the time zone \"Europe/Berlin\" changes more than 2000 times from 1900 to 2200, "
     "or too irregularly to follow, as no zone does: libical's own zone of that name is used "
     "instead\n",
     {"calendar.html"}},
    // libical frees nested components recursively: 300,000 levels ran out of stack.
    {"NestedThreeHundredThousandDeep",
     kNothing,
     "{ printf 'BEGIN:VCALENDAR\\r\\nBEGIN:VTIMEZONE\\r\\nTZID:Deep\\r\\n'; "
     "yes 'BEGIN:X' | head -n 300000; yes 'END:X' | head -n 300000; "
     "printf 'END:VTIMEZONE\\r\\nEND:VCALENDAR\\r\\n'; } >deep.ics",
     "{cli} --events deep.ics" + kDecember,
     1,
     "tessaly-cli: deep.ics:34: BEGIN:X nests components 33 deep, where 32 is the most that is "
     "read\n",
     {}},
    {"CarriageReturnLineEnds",
     kNothing,
     "",
     "{cli} --events {seeds}/cr-line-ends.ics" + kDecember,
     1,
     "cr-line-ends.ics:1: not an iCalendar file as written: its lines end in CR alone, where "
     "iCalendar ends them in CR LF\n",
     {}},
    // --- code only from where the programs are installed: a copy runs nothing of the build
    // folder's, and without /proc nothing of the current folder's.
    {"CopiedProgram",
     kNothing,
     "cp {cli} tessaly-cli",
     "./tessaly-cli --events {seeds}/title-before-hebrew-rule.ics --locale C" + kDecember,
     1,
     "",
     {}},
    {"NoProc",
     kRoot | kNoSanitizer,
     "printf '#!/bin/sh\\ntouch hijacked\\n' >tessaly-cli-full && chmod +x tessaly-cli-full",
     "unshare -m --propagation private sh -c 'mount -t tmpfs none /proc && {cli} --locale C "
     "--month 12 --year 2026 --output out'",
     1,
     "tessaly-cli: cannot start {bindir}../lib/tessaly/tessaly-cli-full",
     {},
     "test ! -e hijacked"},
    // --- links and descriptors
    {"OtherUsersLinkInStickyFolder",
     kRoot,
     "mkdir -m 1777 shared && echo notes >notes.txt && ln -s ../notes.txt shared/calendar.html "
     "&& chown -h 65534 shared/calendar.html",
     "{cli} --output shared",
     1,
     "tessaly-cli: Cannot create file {dir}/shared/calendar.html: "
     "{dir}/shared/calendar.html is another user's link in {dir}/shared, a sticky folder that "
     "anyone can write to: it is not followed\n",
     {},
     "test \"$(cat notes.txt)\" = notes"},
    {"OtherUsersLinkedFolderInStickyFolder",
     kRoot,
     "mkdir -m 1777 shared && mkdir notes && ln -s ../notes shared/folder && "
     "chown -h 65534 shared/folder",
     "{cli} -o shared/folder/calendar.html",
     1,
     "is another user's link in {dir}/shared, a sticky folder that anyone can write to",
     {},
     "test -z \"$(ls notes)\""},
    {"StandardOutputAppended",
     kNothing,
     "echo earlier >log",
     "{cli} --month 2 --year 2021 -o /dev/stdout >>log && {cli} --month 2 --year 2021 -o "
     "/proc/self/fd/1 >>log",
     0,
     "",
     {},
     "test \"$(head -n 1 log)\" = earlier && test \"$(grep -c '</html>' log)\" = 2"},
    {"DescriptorAppended",
     kNothing,
     "echo earlier >log",
     "{cli} --month 2 --year 2021 -o /dev/fd/3 3>>log",
     0,
     "/dev/fd/3\n",
     {},
     "test \"$(head -n 1 log)\" = earlier && grep -q '</html>' log"},
    {"LinkToMissingFile",
     kNothing,
     "ln -s missing.html link.html",
     "{cli} -o link.html",
     1,
     "tessaly-cli: Cannot create file {dir}/link.html: it is a link to {dir}/missing.html, which "
     "is missing\n",
     {},
     "test ! -e missing.html"},
    // --- names from a locale are text in the page, never markup
    {"MarkupInLocaleNames",
     kNothing,
     "mkdir -p locales && printf '%s' '" + kMarkupLocale +
         "' >xx && localedef -c -f UTF-8 -i ./xx locales/xx_XX.UTF-8 >/dev/null 2>&1; "
         "test -f locales/xx_XX.UTF-8/LC_TIME",
     "LOCPATH={dir}/locales {cli} --locale xx_XX.UTF-8 --month 1 --year 2027 --output out",
     0,
     "",
     {"calendar.html"},
     "! grep -q '<script>\\|<b>' out/calendar.html && "
     "grep -q '<title>&lt;script&gt;x()&lt;/script&gt; 2027 calendar' out/calendar.html && "
     "grep -q 'CONTENT=\"This &lt;script&gt;x()&lt;/script&gt; 2027 calendar' out/calendar.html "
     "&& grep -q '>&lt;b&gt;Sun<br>' out/calendar.html && grep -q '>Mon&amp;<br>' "
     "out/calendar.html && grep -q '>Tue&quot;<br>' out/calendar.html && "
     "grep -q '>Wed&#39;<br>' out/calendar.html"},
    // --- settings: a FIFO in the file's place held the window's start
    {"SettingsFileIsFifo",
     kWindow,
     "mkdir -p config/Orvanta && mkfifo config/Orvanta/Tessaly.conf",
     "XDG_CONFIG_HOME={dir}/config QT_QPA_PLATFORM=offscreen {window} & sleep 3; "
     "case $(cat /proc/$!/wchan) in wait_for_partner | fifo_open) echo held ;; "
     "*) echo started ;; esac; kill $!",
     0,
     "started\n",
     {},
     "test -p config/Orvanta/Tessaly.conf"},
    // --- messages that name the real cause
    {"LocaleNotUtf8",
     kNothing,
     "mkdir -p locales && localedef -c -i ru_RU -f KOI8-R locales/ru_RU.KOI8-R >/dev/null 2>&1; "
     "test -f locales/ru_RU.KOI8-R/LC_TIME",
     "LOCPATH={dir}/locales {cli} --locale ru_RU.KOI8-R" + kDecember,
     2,
     "tessaly-cli: --locale: 'ru_RU.KOI8-R' is installed, but writes KOI8-R, not UTF-8 (names "
     "are read from UTF-8 locales, such as ru_RU.UTF-8)\n",
     {}},
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

std::string Expanded(std::string text, const std::string& dir) {
    const std::pair<std::string, std::string> names[] = {
        {"{cli}", TESSALY_CLI_PATH},
        {"{window}", TESSALY_WINDOW_PATH},
        {"{seeds}", TESSALY_ICAL_SEEDS_DIR},
        {"{bindir}", TESSALY_INSTALLED_BINDIR},
        {"{dir}", dir},
    };
    for (const auto& [name, value] : names) {
        for (auto at = text.find(name); at != std::string::npos;
             at = text.find(name, at + value.size())) {
            text.replace(at, name.size(), value);
        }
    }
    return text;
}

// Exit status and what it printed on both streams.
std::pair<int, std::string> RunShell(const std::string& command, const std::string& dir) {
    const std::string line = "cd '" + dir + "' && (" + command + ") 2>&1";
    FILE* pipe = ::popen(line.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t got = 0; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class Hostile : public ::testing::TestWithParam<Row> {};

TEST_P(Hostile, EndsInTimeSayingWhyAndWritesOnlyWhatItShould) {
    const Row& row = GetParam();
    if ((row.needs & kWindow) != 0 && std::string(TESSALY_WINDOW_PATH).empty()) {
        GTEST_SKIP() << "no desktop program in this build";
    }
    if ((row.needs & kRoot) != 0 && ::geteuid() != 0) {
        GTEST_SKIP() << "needs root";
    }
#ifdef TESSALY_SANITIZED
    if ((row.needs & kNoSanitizer) != 0) {
        GTEST_SKIP() << "the sanitizers need /proc";
    }
#endif
    test::TempFolder folder;
    const std::string dir = std::filesystem::canonical(folder.path()).string();
    std::filesystem::create_directory(dir + "/out");
    if (!row.setup.empty()) {
        const auto [status, output] = RunShell(Expanded(row.setup, dir), dir);
        ASSERT_EQ(status, 0) << output;
    }
    const auto [status, output] = RunShell(Expanded(row.command, dir), dir);
    EXPECT_EQ(status, row.status) << output;
    EXPECT_NE(output.find(Expanded(row.message, dir)), std::string::npos) << output;
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/out")) {
        written.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(written, row.written);
    const auto [checked, why] = RunShell(Expanded(row.check, dir), dir);
    EXPECT_EQ(checked, 0) << row.check << "\n" << why;
}

INSTANTIATE_TEST_SUITE_P(Rows, Hostile, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tessaly
