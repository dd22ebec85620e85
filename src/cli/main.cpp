// tessaly-cli: the calendar files of the desktop program, made from the command line.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "calendar/color.h"
#include "cli/cli_options.h"
#include "core/errors.h"
#include "core/product.h"
#include "output/calendar_output.h"
#include "pdfcalendar/pdf_calendar.h"
#include "platform/file_save.h"
#include "platform/locale_names.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#ifdef TESSALY_STATIC_CLI
#include "cli/hand_over.h"
#include "fonts/font_backend.h"
#else
#include "fonts/pdf_fonts.h"
#include "ical/event_files.h"
#include "regional/calendar_conventions.h"
#endif

namespace {

using namespace tessaly;

// SOURCE_DATE_EPOCH, when set, pins the creation date (in UTC) for reproducible files:
// any count of seconds a signed 64-bit number holds. The PDF clamps a year past 9999.
LocalDateTime CreationTime() {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch == nullptr || *epoch == '\0') {
        return LocalNow();
    }
    const std::string_view text(epoch);
    std::int64_t seconds = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 0) {
        throw TessalyError(std::string("SOURCE_DATE_EPOCH is not a number of seconds: ") + epoch);
    }
    // The Gregorian calendar repeats every 400 years, so std::chrono's range of years
    // needs to hold only one such cycle.
    using namespace std::chrono;
    constexpr std::int64_t kSecondsPerDay = 86400;
    constexpr std::int64_t kDaysPer400Years = 146097;
    const std::int64_t dayCount = seconds / kSecondsPerDay;
    const year_month_day date{sys_days{days{dayCount % kDaysPer400Years}}};
    const hh_mm_ss time{std::chrono::seconds{seconds % kSecondsPerDay}};
    const std::int64_t year = static_cast<int>(date.year()) + 400 * (dayCount / kDaysPer400Years);
    return {static_cast<int>(std::min<std::int64_t>(year, INT_MAX)),
            static_cast<int>(unsigned(date.month())),
            static_cast<int>(unsigned(date.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count())};
}

std::string StandardOutputFailure(const std::error_code& reason) {
    return "Cannot write to standard output: " + DescribeReason(reason);
}

// The calendar services of a program without a window: 96 DPI, the window font's
// built-in widths, the names of the locale asked for (English without one).
class CliServices : public CalendarServices {
  public:
    CliServices(std::optional<std::string> localeName, LocaleNames names)
        : localeName_(std::move(localeName)), names_(std::move(names)) {}

    const LocaleNames& UserLocaleNames() override { return names_; }
    EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest& request) override {
#ifdef TESSALY_STATIC_CLI
        // Faces an earlier run found serve here; finding them is the full program's work.
        if (auto remembered = RememberedEmbedding(request, localeName_.value_or(""))) {
            return std::move(*remembered);
        }
        throw FullProgramNeeded{};
#else
        return tessaly::EmbedTextsForPdf(request, localeName_.value_or(""));
#endif
    }
    // Pages counted in place on a terminal; nothing in a pipe or a log.
    void PageMade(int page, int pages) override {
        if (pages > 1 && StandardErrorIsTerminal()) {
            std::fprintf(stderr, "\rtessaly-cli: page %d of %d%s", page, pages,
                         page == pages ? "\n" : "");
        }
    }
    LocalDateTime Now() override {
        return CreationTime();
    }
    ScreenResolution ScreenDpi() override {
        return {96, 96};
    }
    int TextWidthInWindowFont(const std::string& text) override {
        return BuiltInWindowFontWidthOfUtf8(text);
    }
    std::vector<int> DisplayColumnsOf(std::u32string_view characters) override {
        return tessaly::DisplayColumnsOf(characters, localeName_.value_or(""));
    }
    std::string InNamesEncoding(std::string utf8Page) override {
        return InCodePage(utf8Page, names_.codePage);
    }
    void SaveFile(const std::string& path, ByteSpans bytes,
                  const std::string& writeErrorMessage) override {
        if (path == kStandardOutputName) {
            if (const auto error = WriteToStandardOutput(bytes)) {
                throw TessalyError(StandardOutputFailure(error));
            }
            return;
        }
        SaveFileAtomically(path, bytes, writeErrorMessage);
    }

  private:
    std::optional<std::string> localeName_;
    LocaleNames names_;
};

// Where -o FILE or --output DIR puts the calendar; -o - is standard output.
CalendarDestination DestinationOf(const CliOptions& options) {
    if (!options.outputFile) {
        return {AbsoluteFolder(options.outputFolder), {}};
    }
    // A descriptor's name is written to that descriptor, as a shell set it up (>> appends);
    // standard output's is -o - itself, whose calendar no path follows.
    const auto descriptor = DescriptorNamed(*options.outputFile);
    if (*options.outputFile == kStandardOutputName || descriptor == 1) {
        return {"", {}, kStandardOutputName};
    }
    if (descriptor) {
        return {"", {}, *options.outputFile};
    }
    const auto [folder, name] = SplitOutputFile(*options.outputFile);
    return {AbsoluteFolder(folder.empty() ? "." : folder), {}, name};
}

CalendarRequest RequestOf(const CliOptions& options) {
    CalendarRequest request;
    request.monthIndex = options.month - 1;
    request.year = options.year;
    request.firstWeekday = options.firstWeekday;
    request.weekend = options.weekend;
    request.colorWeekends = options.colorWeekends;
    request.localizedNames = options.localized;
    request.pdf = options.format == CliFormat::Pdf;
    request.paper = options.paper;
    request.months = options.months;
    request.weekNumbers = options.weekNumbers;
    request.layout = options.layout;
    request.dayOfYear = options.dayOfYear;
    return request;
}

void ReportError(const std::string& message) {
    WriteText(stderr, "tessaly-cli: " + message + "\n");
}

#ifndef TESSALY_STATIC_CLI
// The events of the --events files on the days the calendar shows, their times written
// as the names' locale writes them; read before anything is written, so that a file
// that cannot be read leaves no calendar behind.
std::optional<EventCalendar> ReadEvents(const CliOptions& options) {
    if (options.events.empty()) {
        return std::nullopt;
    }
    const DayRange days = DaysOf(RequestOf(options));
    const EventFilesRead read = ReadEventFiles(options.events, days);
    constexpr std::size_t kMostWarningsShown = 20;
    for (std::size_t k = 0; k < read.warnings.size() && k <= kMostWarningsShown; ++k) {
        ReportError(k < kMostWarningsShown ? "warning: " + read.warnings[k]
                                           : "warning: more warnings not shown");
    }
    if (!read.error.empty()) {
        throw TessalyError(read.error);
    }
    return ArrangeEvents(
        read.events, days,
        options.localized ? LocaleShortTime(options.locale.value_or("")) : TwentyFourHourTime);
}
#endif

std::string MakeCalendar(const CliOptions& options, const LocaleNames& names,
                         const std::optional<EventCalendar>& events,
                         const std::optional<CalendarConventions>& conventions) {
    const CalendarRequest request = RequestOf(options);
    NameTable table;
    table[kWeekendColorSlot] = options.color ? ColorToHTML(*options.color) : kDefaultWeekendColor;
    std::vector<std::string> lines;
    CliServices services(options.locale, names);
    return MakeCalendarFile(request, table, lines, DestinationOf(options), services,
                            events ? &*events : nullptr, conventions ? &*conventions : nullptr);
}

// Standard output, unless -o names a file.
bool TextToStandardOutput(const CliOptions& options) {
    return options.outputFile.value_or(kStandardOutputName) == kStandardOutputName;
}

// The text calendar, with today in reverse video where standard output is a terminal
// that shows it and NO_COLOR is not set: decided here, before the text is made.
std::string MakeText(const CliOptions& options, const LocaleNames& names,
                     const std::optional<EventCalendar>& events,
                     const std::optional<CalendarConventions>& conventions) {
    NameTable table;
    CliServices services(options.locale, names);
    const char* noColor = std::getenv("NO_COLOR");
    std::optional<LocalDateTime> today;
    if (TextToStandardOutput(options) && (noColor == nullptr || *noColor == '\0') &&
        StandardOutputShowsReverseVideo()) {
        today = LocalNow();
    }
    return MakeCalendarText(RequestOf(options), table, services, events ? &*events : nullptr, today,
                            conventions ? &*conventions : nullptr);
}

// Text to standard output; false, with a message, when it cannot be written (a full disk,
// a closed pipe).
bool Print(const std::string& text) {
    if (const auto error = WriteText(stdout, text)) {
        ReportError(StandardOutputFailure(error));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = ParseCliArguments(CommandLineArguments(argc, argv), LocalNow);
    if (const auto* usage = std::get_if<CliUsageError>(&parsed)) {
        ReportError(usage->message);
        return 2;
    }
    const auto& options = std::get<CliOptions>(parsed);
    if (options.help) {
        return Print(CliUsage()) ? 0 : 1;
    }
    if (options.version) {
        return Print(std::string("tessaly-cli ") + kVersionText + "\n") ? 0 : 1;
    }
#ifdef TESSALY_STATIC_CLI
    // Linked statically, this program has no modules and no conversion between encodings:
    // a run that needs them is the full program's, from its start or as soon as it shows.
    if (NeedsFullProgram(options)) {
        HandOverToFullProgram(argv);
    }
    LocaleNames names = WithEnglishFallback({});
    if (options.localized) {
        // Not installed, or in another encoding: the full program says so, or converts.
        auto read = ReadUtf8LocaleNames(options.locale.value_or(""));
        if (!read) {
            HandOverToFullProgram(argv);
        }
        names = std::move(*read);
    }
#else
    LocaleNames names = WithEnglishFallback({});
    if (options.locale) {
        const auto named = ReadNamedLocaleNames(*options.locale);
        if (!named) {
            const std::string& name = *options.locale;
            const auto encoding = InstalledLocaleEncoding(name);
            ReportError("--locale: '" + name + "' is " +
                        (encoding ? "installed, but writes " + *encoding +
                                        ", not UTF-8 (names are read from UTF-8 locales, such "
                                        "as " +
                                        name.substr(0, name.find_first_of(".@")) + ".UTF-8)"
                                  : "not an installed locale"));
            return 2;
        }
        names = *named;
    } else if (options.localized) {
        names = ReadUserLocaleNames();
    }
    // The locale's layout, read before anything is written: without it nothing is.
    std::optional<CalendarConventions> conventions;
    if (options.regional) {
        ConventionsRead read =
            ReadCalendarConventions(options.locale.value_or(""), RequestOf(options));
        if (!read.error.empty()) {
            ReportError(read.error);
            return 1;
        }
        conventions = std::move(read.conventions);
    }
#endif
    try {
#ifdef TESSALY_STATIC_CLI
        const std::optional<EventCalendar> events;
        const std::optional<CalendarConventions> conventions;
#else
        const std::optional<EventCalendar> events = ReadEvents(options);
#endif
        if (options.format == CliFormat::Text && TextToStandardOutput(options)) {
            // A console takes it in UTF-16, as any text this program prints.
            return Print(MakeText(options, names, events, conventions)) ? 0 : 1;
        }
        std::string path;
        if (options.format == CliFormat::Text) {
            const CalendarDestination destination = DestinationOf(options);
            path = destination.folder + destination.fileName.value_or("");
            SaveFileAtomically(path, MakeText(options, names, events, conventions),
                               CannotCreateFileMessage(path));
        } else {
            path = MakeCalendar(options, names, events, conventions);
        }
        // Standard output holds the calendar itself.
        if (path != kStandardOutputName && !Print(path + "\n")) {
            return 1;
        }
        // A descriptor holds no file a viewer could open.
        if (options.open && path != kStandardOutputName && !DescriptorNamed(path)) {
            OpenWithDefaultHandler(path);
        }
#ifdef TESSALY_STATIC_CLI
    } catch (const FullProgramNeeded&) {
        HandOverToFullProgram(argv);
#endif
    } catch (const FileSaveError& error) {
        // Which file, and the system's reason, as command-line tools say it.
        ReportError(error.reason() ? CannotCreateFileMessage(error.path()) + ": " +
                                         (error.detail().empty() ? DescribeReason(error.reason())
                                                                 : error.detail())
                                   : error.what());
        return 1;
    } catch (const std::exception& error) {
        ReportError(error.what());
        return 1;
    }
    return 0;
}
