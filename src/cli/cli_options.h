#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "calendar/color.h"
#include "calendar/month_grid.h"
#include "core/date_time.h"

namespace tessaly {

// What tessaly-cli writes: a page, a PDF file, or text for the terminal.
enum class CliFormat { Html, Pdf, Text };

struct CliOptions {
    int month = 1;  // 1..12
    int year = 2000;
    // The week's first day (0 Sunday .. 6 Saturday) and weekend when named; the locale's
    // with --regional, else Sunday and Saturday and Sunday.
    std::optional<int> firstWeekday;
    std::optional<Weekdays> weekend;
    bool colorWeekends = false;
    std::optional<ColorValue> color;
    bool localized = false;
    CliFormat format = CliFormat::Html;  // --pdf is --format pdf
    Paper paper = Paper::Letter;
    int months = 1;  // 1..kMostMonths
    bool weekNumbers = false;
    Layout layout = Layout::Month;
    bool dayOfYear = false;
    std::optional<std::string> locale;  // names from this locale instead of the user's
    bool regional = false;              // the layout from the names' locale too
    std::vector<std::string> events;    // iCalendar files whose events the days show
    std::string outputFolder = ".";
    std::optional<std::string> outputFile;  // -o: exactly this file; "-" standard output
    bool open = false;
    bool help = false;
    bool version = false;
};

struct CliUsageError {
    std::string message;
};

// Parses the arguments after the program name; month and year default to `today`
// (the year clamped into the calendar's years), which is asked only when one of them
// is not given.
std::variant<CliOptions, CliUsageError> ParseCliArguments(
    const std::vector<std::string>& args, const std::function<LocalDateTime()>& today);
std::variant<CliOptions, CliUsageError> ParseCliArguments(const std::vector<std::string>& args,
                                                          const LocalDateTime& today);

// The text of --help.
std::string CliUsage();

// Whether a run needs, from its start, what only a program linked against the system's C
// library has: the events module (and the locale's times of day) or the regional module.
// Names of a UTF-8 locale, A4 and faces an earlier run found need nothing of it.
bool NeedsFullProgram(const CliOptions& options);

// -o's name for standard output.
inline constexpr const char* kStandardOutputName = "-";

// -o FILE as the folder it names (empty for the current folder) and the file's name.
struct OutputFileParts {
    std::string folder;
    std::string name;
};
OutputFileParts SplitOutputFile(const std::string& file);

}  // namespace tessaly
