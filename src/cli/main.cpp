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
#include "ical/event_files.h"
#include "output/calendar_output.h"
#include "pdfcalendar/pdf_calendar.h"
#include "platform/file_save.h"
#include "platform/locale_names.h"
#include "platform/pdf_font.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

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
// built-in widths, locale names read only when asked for (or those of --locale).
class CliServices : public CalendarServices {
  public:
    CliServices(std::optional<std::string> localeName, std::optional<NamedLocaleNames> named)
        : localeName_(std::move(localeName)), named_(std::move(named)) {}

    const LocaleNames& UserLocaleNames() override {
        if (named_) {
            return named_->names;
        }
        if (!localeNames_) {
            localeNames_ = ReadUserLocaleNames();
        }
        return *localeNames_;
    }
    const LocaleNames& UserLocaleNamesUtf8() override {
        if (named_) {
            return named_->utf8;
        }
        if (!localeNamesUtf8_) {
            localeNamesUtf8_ = ReadUserLocaleNamesUtf8();
        }
        return *localeNamesUtf8_;
    }
    std::optional<EmbeddedTexts> EmbedTextsForPdf(
        const std::vector<std::string>& utf8Texts) override {
        return localeName_ ? EmbedTextsOfLocaleForPdf(utf8Texts, *localeName_)
                           : tessaly::EmbedTextsForPdf(utf8Texts);
    }
    std::optional<WinAnsiWidths> TitleFontWidths() override { return HelveticaBoldWidths(); }
    // Pages counted in place on a terminal; nothing in a pipe or a log.
    void PageMade(int page, int pages) override {
        if (pages > 1 && StandardErrorIsTerminal()) {
            std::fprintf(stderr, "\rtessaly-cli: page %d of %d%s", page, pages,
                         page == pages ? "\n" : "");
        }
    }
    LocalDateTime Now() override { return CreationTime(); }
    ScreenResolution ScreenDpi() override { return {96, 96}; }
    int TextWidthInWindowFont(const std::string& text) override {
        return BuiltInWindowFontWidthOfUtf8(ToUtf8(text));
    }
    std::optional<std::string> ToWinAnsi(std::string_view text) override {
        return tessaly::ToWinAnsi(text);
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
    std::optional<NamedLocaleNames> named_;
    std::optional<LocaleNames> localeNames_;
    std::optional<LocaleNames> localeNamesUtf8_;
};

// Where -o FILE or --output DIR puts the calendar; -o - is standard output.
CalendarDestination DestinationOf(const CliOptions& options) {
    if (!options.outputFile) {
        return {AbsoluteFolder(options.outputFolder), {}};
    }
    if (*options.outputFile == kStandardOutputName) {
        return {"", {}, kStandardOutputName};
    }
    const auto [folder, name] = SplitOutputFile(*options.outputFile);
    return {AbsoluteFolder(folder.empty() ? "." : folder), {}, name};
}

CalendarRequest RequestOf(const CliOptions& options) {
    CalendarRequest request;
    request.monthIndex = options.month - 1;
    request.year = options.year;
    request.weekStart = options.weekStart;
    request.colorWeekends = options.colorWeekends;
    request.localizedNames = options.localized;
    request.pdf = options.pdf;
    request.paper = options.paper;
    request.months = options.months;
    request.weekNumbers = options.weekNumbers;
    return request;
}

void ReportError(const std::string& message) {
    WriteText(stderr, "tessaly-cli: " + message + "\n");
}

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

std::string MakeCalendar(const CliOptions& options, std::optional<NamedLocaleNames> locale,
                         const std::optional<EventCalendar>& events) {
    const CalendarRequest request = RequestOf(options);
    NameTable names;
    names[kWeekendColorSlot] = options.color ? ColorToHTML(*options.color) : kDefaultWeekendColor;
    std::vector<std::string> lines;
    CliServices services(options.locale, std::move(locale));
    return MakeCalendarFile(request, names, lines, DestinationOf(options), services,
                            events ? &*events : nullptr);
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
    std::optional<NamedLocaleNames> locale;
    if (options.locale) {
        locale = ReadNamedLocaleNames(*options.locale);
        if (!locale) {
            ReportError("--locale: '" + *options.locale + "' is not an installed locale");
            return 2;
        }
    }
    try {
        const std::optional<EventCalendar> events = ReadEvents(options);
        const std::string path = MakeCalendar(options, std::move(locale), events);
        // Standard output holds the calendar itself.
        if (path != kStandardOutputName && !Print(path + "\n")) {
            return 1;
        }
        if (options.open) {
            OpenWithDefaultHandler(path);
        }
    } catch (const FileSaveError& error) {
        // Which file, and the system's reason, as command-line tools say it.
        ReportError(error.reason() ? CannotCreateFileMessage(error.path()) + ": " +
                                         DescribeReason(error.reason())
                                   : error.what());
        return 1;
    } catch (const std::exception& error) {
        ReportError(error.what());
        return 1;
    }
    return 0;
}
