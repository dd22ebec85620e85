// tessaly-cli: the calendar files of the desktop program, made from the command line.
#include <chrono>
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
#include "core/int_text.h"
#include "core/product.h"
#include "output/calendar_output.h"
#include "pdfcalendar/pdf_calendar.h"
#include "platform/file_save.h"
#include "platform/locale_names.h"
#include "platform/pdf_font.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

namespace {

using namespace tessaly;

// SOURCE_DATE_EPOCH, when set, pins the creation date (in UTC) for reproducible files.
LocalDateTime CreationTime() {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch == nullptr || *epoch == '\0') {
        return LocalNow();
    }
    const auto seconds = ParseIntegerText(epoch);
    if (!seconds || *seconds < 0) {
        throw TessalyError(std::string("SOURCE_DATE_EPOCH is not a number of seconds: ") + epoch);
    }
    using namespace std::chrono;
    const sys_seconds instant{std::chrono::seconds{*seconds}};
    const auto day = floor<days>(instant);
    const year_month_day date{day};
    const hh_mm_ss time{instant - day};
    return {static_cast<int>(date.year()),
            static_cast<int>(unsigned(date.month())),
            static_cast<int>(unsigned(date.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count())};
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
        if (pages > 1 && showProgress_) {
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
    void SaveFile(const std::string& path, std::string_view bytes,
                  const std::string& writeErrorMessage) override {
        if (path == kStandardOutputName) {
            WriteToStandardOutput(bytes);
            return;
        }
        SaveFileAtomically(path, bytes, writeErrorMessage);
    }

  private:
    std::optional<std::string> localeName_;
    std::optional<NamedLocaleNames> named_;
    bool showProgress_ = StandardErrorIsTerminal();
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

std::string MakeCalendar(const CliOptions& options, std::optional<NamedLocaleNames> locale) {
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

    NameTable names;
    names[kWeekendColorSlot] = options.color ? ColorToHTML(*options.color) : kDefaultWeekendColor;
    std::vector<std::string> lines;
    CliServices services(options.locale, std::move(locale));
    return MakeCalendarFile(request, names, lines, DestinationOf(options), services);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = ParseCliArguments(args, LocalNow());
    if (const auto* usage = std::get_if<CliUsageError>(&parsed)) {
        std::fprintf(stderr, "tessaly-cli: %s\n", usage->message.c_str());
        return 2;
    }
    const auto& options = std::get<CliOptions>(parsed);
    if (options.help) {
        std::fputs(CliUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tessaly-cli %s\n", kVersionText);
        return 0;
    }
    std::optional<NamedLocaleNames> locale;
    if (options.locale) {
        locale = ReadNamedLocaleNames(*options.locale);
        if (!locale) {
            std::fprintf(stderr, "tessaly-cli: --locale: '%s' is not an installed locale\n",
                         options.locale->c_str());
            return 2;
        }
    }
    try {
        const std::string path = MakeCalendar(options, std::move(locale));
        // Standard output holds the calendar itself.
        if (path != kStandardOutputName) {
            std::printf("%s\n", path.c_str());
            std::fflush(stdout);
        }
        if (options.open) {
            OpenWithDefaultHandler(path);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessaly-cli: %s\n", error.what());
        return 1;
    }
    return 0;
}
