#include "cli/cli_options.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "calendar/month_grid.h"
#include "core/int_text.h"
#include "output/calendar_output.h"

namespace tessaly {

namespace {

// Where the weekend of --regional comes from on Windows.
#ifdef _WIN32
const std::string kRegionalWeekendNote =
    "                         (the weekend from the system's ICU, icu.dll, of\n"
    "                         Windows 10 1903 and later; without it Saturday and\n"
    "                         Sunday)\n";
#else
const std::string kRegionalWeekendNote;
#endif

}  // namespace

std::string CliUsage() {
    const std::string html = kHtmlFileName;
    const std::string pdf = kPdfFileName;
    const std::string years = std::to_string(kFirstYear) + "-" + std::to_string(kLastYear);
    const std::string most = std::to_string(kMostMonths);
    // clang-format off
    return "Usage: tessaly-cli [options]\n"
           "Writes a one-page calendar of a month, a page a month for several, or a year\n"
           "on one page, as " + html + " (or " + pdf + ") and prints the written file's\n"
           "full path; or shows it as text on standard output.\n"
           "\n"
           "Options:\n"
           "  --month N              month 1-12 (default: this month; January with\n"
           "                         --layout year)\n"
           "  --year N               year " + years + " (default: this year)\n"
           "  --months N             N months from --month and --year on, 1-" + most + ", a page\n"
           "                         each, in calendar-YYYY-MM-to-YYYY-MM.html (or .pdf)\n"
           "                         (default: 1); pages are counted on standard error\n"
           "                         when it is a terminal\n"
           "  --layout LAYOUT        month (a page a month) or year (twelve months on one\n"
           "                         page from --month and --year on, in calendar-YYYY.html\n"
           "                         from January, else calendar-YYYY-MM-to-YYYY-MM.html,\n"
           "                         or .pdf) (default: month)\n"
           "  --format FORMAT        html, pdf or text: text shows the calendar on standard\n"
           "                         output as cal does (a year three months a row, events\n"
           "                         under each month, today in reverse video on a\n"
           "                         terminal unless NO_COLOR is set) (default: html)\n"
           "  --week-start DAY       the week's first day, monday to sunday (default:\n"
           "                         sunday, or the locale's with --regional)\n"
           "  --week-numbers         ISO 8601 week numbers: a first column headed Wk, or in\n"
           "                         each row's first cell of the PDF; in the Sunday layout\n"
           "                         a row's week is the week of its Monday\n"
           "  --day-of-year          each day's place in the year and the days left in its\n"
           "                         upper right corner (123/242); text shows the days of\n"
           "                         the year instead of the dates (not with --layout year)\n"
           "  --color-weekends       colour the weekend columns\n"
           "  --weekend DAY[,DAY]    the weekend's days, such as friday,saturday (default:\n"
           "                         saturday,sunday, or the locale's with --regional)\n"
           "  --color RRGGBB         weekend colour of the HTML page, red first; implies\n"
           "                         --color-weekends (default: c0c0c0)\n"
           "  --localized            day and month names from the user's locale\n"
           "  --locale NAME          day and month names from locale NAME, such as\n"
           "                         de_DE.UTF-8 (on Windows de-DE); implies --localized\n"
           "  --regional             the layout of that locale too (with --localized or\n"
           "                         --locale): its first day of the week, its weekend,\n"
           "                         its direction (a right-to-left grid is mirrored), its\n"
           "                         year-and-month title and its digits\n"
           + kRegionalWeekendNote +
           "  --events FILE          show the events of the iCalendar (.ics) file FILE under\n"
           "                         their days, in the local time zone; repeatable\n"
           "  --pdf                  write " + pdf + " instead of " + html + "; short\n"
           "                         for --format pdf\n"
           "  --paper SIZE           the PDF's paper, letter or a4 (default: letter)\n"
           "  --output DIR           folder to write into (default: the current folder)\n"
           "  -o FILE                write exactly FILE instead (- for standard output)\n"
           "  --open                 open the written file with the default viewer\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n";
    // clang-format on
}

bool NeedsFullProgram(const CliOptions& options) {
    return !options.events.empty() || options.regional;
}

namespace {

// The option's names of the days of the week, Sunday first as they are numbered.
constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "sunday", "monday", "tuesday", "wednesday", "thursday", "friday", "saturday"};

std::optional<int> WeekdayNamed(std::string_view name) {
    const auto found = std::find(kWeekdayNames.begin(), kWeekdayNames.end(), name);
    if (found == kWeekdayNames.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - kWeekdayNames.begin());
}

std::string NotAWeekday(const std::string& option, std::string_view value) {
    return option + ": '" + std::string(value) + "' is not a day of the week (monday to sunday)";
}

// "friday,saturday": one to six days, each once.
std::variant<Weekdays, CliUsageError> ParseWeekend(const std::string& list) {
    if (list.find_first_not_of(',') == std::string::npos) {
        return CliUsageError{"--weekend: the list of days is empty"};
    }
    Weekdays weekend{};
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::string_view name = std::string_view(list).substr(start, end - start);
        const auto day = WeekdayNamed(name);
        if (!day) {
            return CliUsageError{name.empty() ? "--weekend: '" + list + "' leaves a day out"
                                              : NotAWeekday("--weekend", name)};
        }
        if (weekend[static_cast<std::size_t>(*day)]) {
            return CliUsageError{"--weekend: '" + std::string(name) + "' is named twice"};
        }
        weekend[static_cast<std::size_t>(*day)] = true;
        start = end + 1;
    }
    if (std::all_of(weekend.begin(), weekend.end(), [](bool day) { return day; })) {
        return CliUsageError{"--weekend: all seven days cannot be the weekend"};
    }
    return weekend;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<ColorValue> ParseHtmlColor(const std::string& text) {
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), IsHexDigit)) {
        return std::nullopt;
    }
    const auto rgb = ParseIntegerText("$" + text);
    const int value = *rgb;
    return ColorFromRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

std::optional<int> ParseInRange(const std::string& text, int low, int high) {
    const auto value = ParseIntegerText(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return *value;
}

}  // namespace

OutputFileParts SplitOutputFile(const std::string& file) {
#ifdef _WIN32
    // "C:name" is a name in drive C's current folder; a colon anywhere else is the name's.
    auto last = file.find_last_of("/\\");
    if (file.size() >= 2 && file[1] == ':' && (last == std::string::npos || last < 1)) {
        last = 1;
    }
#else
    const auto last = file.find_last_of('/');
#endif
    if (last == std::string::npos) {
        return {"", file};
    }
    return {file.substr(0, last + 1), file.substr(last + 1)};
}

std::variant<CliOptions, CliUsageError> ParseCliArguments(const std::vector<std::string>& args,
                                                          const LocalDateTime& today) {
    return ParseCliArguments(args, [&today] { return today; });
}

std::variant<CliOptions, CliUsageError> ParseCliArguments(
    const std::vector<std::string>& args, const std::function<LocalDateTime()>& today) {
    CliOptions options;
    bool monthGiven = false;
    bool yearGiven = false;
    bool monthsGiven = false;
    bool paperGiven = false;
    bool outputFolderGiven = false;
    bool pdfGiven = false;
    std::optional<CliFormat> formatGiven;

    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto equals = name.find('=');
            name.starts_with("--") && equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        auto takeValue = [&]() -> std::optional<std::string> {
            if (inlineValue) {
                return inlineValue;
            }
            if (i + 1 < args.size()) {
                return args[++i];
            }
            return std::nullopt;
        };
        auto missing = [&] { return CliUsageError{name + " needs a value"}; };
        auto flag = [&](bool& target) -> std::optional<CliUsageError> {
            if (inlineValue) {
                return CliUsageError{name + " takes no value"};
            }
            target = true;
            return std::nullopt;
        };

        std::optional<CliUsageError> error;
        if (name == "--month" || name == "--year") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            const bool isMonth = name == "--month";
            const auto number =
                isMonth ? ParseInRange(*value, 1, 12) : ParseInRange(*value, kFirstYear, kLastYear);
            if (!number) {
                return CliUsageError{name + ": '" + *value + "' is not " +
                                     (isMonth ? std::string("a month from 1 to 12")
                                              : "a year from " + std::to_string(kFirstYear) +
                                                    " to " + std::to_string(kLastYear))};
            }
            (isMonth ? options.month : options.year) = *number;
            (isMonth ? monthGiven : yearGiven) = true;
        } else if (name == "--week-start") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            options.firstWeekday = WeekdayNamed(*value);
            if (!options.firstWeekday) {
                return CliUsageError{NotAWeekday("--week-start", *value)};
            }
        } else if (name == "--weekend") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            auto weekend = ParseWeekend(*value);
            if (auto* wrong = std::get_if<CliUsageError>(&weekend)) {
                return *wrong;
            }
            options.weekend = std::get<Weekdays>(weekend);
        } else if (name == "--color") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            options.color = ParseHtmlColor(*value);
            if (!options.color) {
                return CliUsageError{"--color: '" + *value + "' is not six hex digits (RRGGBB)"};
            }
            options.colorWeekends = true;
        } else if (name == "--output") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            if (value->empty()) {
                return CliUsageError{"--output: the folder name is empty"};
            }
            options.outputFolder = *value;
            outputFolderGiven = true;
        } else if (name == "-o") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            if (SplitOutputFile(*value).name.empty()) {
                return CliUsageError{"-o: '" + *value + "' names no file"};
            }
            options.outputFile = *value;
        } else if (name == "--months") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            const auto number = ParseInRange(*value, 1, kMostMonths);
            if (!number) {
                return CliUsageError{"--months: '" + *value + "' is not a number from 1 to " +
                                     std::to_string(kMostMonths)};
            }
            options.months = *number;
            monthsGiven = true;
        } else if (name == "--layout") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            if (*value == "month") {
                options.layout = Layout::Month;
            } else if (*value == "year") {
                options.layout = Layout::Year;
            } else {
                return CliUsageError{"--layout: '" + *value + "' is not month or year"};
            }
        } else if (name == "--format") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            if (*value == "html") {
                formatGiven = CliFormat::Html;
            } else if (*value == "pdf") {
                formatGiven = CliFormat::Pdf;
            } else if (*value == "text") {
                formatGiven = CliFormat::Text;
            } else {
                return CliUsageError{"--format: '" + *value + "' is not html, pdf or text"};
            }
        } else if (name == "--paper") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            if (*value == "letter") {
                options.paper = Paper::Letter;
            } else if (*value == "a4") {
                options.paper = Paper::A4;
            } else {
                return CliUsageError{"--paper: '" + *value + "' is not letter or a4"};
            }
            paperGiven = true;
        } else if (name == "--locale") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            if (value->empty()) {
                return CliUsageError{"--locale: the locale name is empty"};
            }
            options.locale = *value;
            options.localized = true;
        } else if (name == "--events") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            if (value->empty()) {
                return CliUsageError{"--events: the file name is empty"};
            }
            options.events.push_back(*value);
        } else if (name == "--week-numbers") {
            error = flag(options.weekNumbers);
        } else if (name == "--color-weekends") {
            error = flag(options.colorWeekends);
        } else if (name == "--localized") {
            error = flag(options.localized);
        } else if (name == "--regional") {
            error = flag(options.regional);
        } else if (name == "--pdf") {
            error = flag(pdfGiven);
        } else if (name == "--day-of-year") {
            error = flag(options.dayOfYear);
        } else if (name == "--open") {
            error = flag(options.open);
        } else if (name == "--help") {
            error = flag(options.help);
        } else if (name == "--version") {
            error = flag(options.version);
        } else {
            return CliUsageError{"unknown option '" + args[i] + "' (see --help)"};
        }
        if (error) {
            return *error;
        }
    }

    const bool year = options.layout == Layout::Year;
    // A year page starts in January unless told otherwise.
    if (year && !monthGiven) {
        options.month = 1;
        monthGiven = true;
    }
    if (!monthGiven || !yearGiven) {
        const LocalDateTime now = today();
        options.month = monthGiven ? options.month : now.month;
        options.year = yearGiven ? options.year : ClampedYear(now.year);
    }
    if (pdfGiven && formatGiven && *formatGiven != CliFormat::Pdf) {
        return CliUsageError{std::string("--pdf and --format ") +
                             (*formatGiven == CliFormat::Html ? "html" : "text") +
                             " cannot be used together"};
    }
    options.format = pdfGiven ? CliFormat::Pdf : formatGiven.value_or(CliFormat::Html);
    const bool text = options.format == CliFormat::Text;
    if (paperGiven && options.format == CliFormat::Html) {
        return CliUsageError{"--paper: an HTML page has no paper size (add --pdf)"};
    }
    if (paperGiven && text) {
        return CliUsageError{"--paper: a text calendar has no paper size (use --format pdf)"};
    }
    if (options.color && text) {
        return CliUsageError{"--color: a text calendar has no colours"};
    }
    if (options.regional && !options.localized) {
        return CliUsageError{
            "--regional needs --localized or --locale (the locale whose layout it takes)"};
    }
    if (year && monthsGiven) {
        return CliUsageError{
            "--months and --layout year cannot be used together (a year page holds twelve "
            "months)"};
    }
    if (year && options.dayOfYear) {
        return CliUsageError{"--day-of-year and --layout year cannot be used together"};
    }
    if (text && outputFolderGiven) {
        return CliUsageError{"--output: a text calendar goes to standard output (use -o FILE)"};
    }
    if (text && options.open &&
        options.outputFile.value_or(kStandardOutputName) == kStandardOutputName) {
        return CliUsageError{"--open: a text calendar on standard output cannot be opened"};
    }
    if (options.outputFile && outputFolderGiven) {
        return CliUsageError{"-o FILE and --output DIR cannot be used together"};
    }
    if (options.open && options.outputFile == kStandardOutputName) {
        return CliUsageError{"--open: standard output (-o -) cannot be opened"};
    }
    const int months = year ? kMonthsOfYearPage : options.months;
    const int lastMonth = options.year * 12 + options.month - 1 + months - 1;
    if (lastMonth > kLastYear * 12 + 11) {
        return CliUsageError{
            std::string(year ? "--layout year: " : "--months: ") + std::to_string(months) +
            " months from " + ZeroPadded(static_cast<std::uint64_t>(options.month), 2) + "/" +
            std::to_string(options.year) + " run past December " + std::to_string(kLastYear)};
    }
    return options;
}

}  // namespace tessaly
