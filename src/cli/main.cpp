// tessaly-cli: the calendar files of the desktop program, made from the command line.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "calendar/color.h"
#include "calendar/names.h"
#include "cli/cli_options.h"
#include "core/errors.h"
#include "core/int_text.h"
#include "core/product.h"
#include "html/html_calendar.h"
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

void WritePdf(const CalendarRequest& request, const NameTable& names, const NameTable& unicodeNames,
              const std::string& path) {
    const LocalDateTime created = CreationTime();
    TPrintPDF pdf(PdfWriterServices{
        [created] { return created; },
        [] {
            return ScreenResolution{96, 96};
        },
        [](const std::string& file, std::string_view bytes) {
            SaveFileAtomically(file, bytes, "Cannot create file " + file);
        },
    });
    const PdfCalendarEnvironment environment{
        [](const std::string& text) { return BuiltInWindowFontWidthOfUtf8(ToUtf8(text)); },
        ToWinAnsi,
        EmbedTextsForPdf,
        unicodeNames,
    };
    WritePdfCalendar(pdf, request, names, WeekendPicture(), environment, path);
}

std::string MakeCalendar(const CliOptions& options) {
    CalendarRequest request;
    request.monthIndex = options.month - 1;
    request.year = options.year;
    request.weekStart = options.weekStart;
    request.colorWeekends = options.colorWeekends;
    request.localizedNames = options.localized;
    request.pdf = options.pdf;

    NameTable names;
    const LocaleNames locale = options.localized ? ReadUserLocaleNames() : LocaleNames{};
    FillDayNames(names, request.localizedNames, locale);
    FillMonthNames(names, request.localizedNames, locale);
    names[kWeekendColorSlot] = options.color ? ColorToHTML(*options.color) : kDefaultWeekendColor;

    const std::string folder = AbsoluteFolder(options.outputFolder);
    if (options.pdf) {
        const std::string path = folder + "calendar.pdf";
        NameTable unicodeNames;
        const LocaleNames localeUtf8 =
            options.localized ? ReadUserLocaleNamesUtf8() : LocaleNames{};
        FillDayNames(unicodeNames, request.localizedNames, localeUtf8);
        FillMonthNames(unicodeNames, request.localizedNames, localeUtf8);
        WritePdf(request, names, unicodeNames, path);
        return path;
    }
    const std::string path = folder + "calendar.html";
    const auto lines = BuildHtmlCalendarLines(request, names, kProductWebAddress);
    SaveFileAtomically(path, JoinLinesCrLf(lines), kSaveStreamError);
    return path;
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
        std::fputs(kCliUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tessaly-cli %s\n", kVersionText);
        return 0;
    }
    try {
        const std::string path = MakeCalendar(options);
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        if (options.open) {
            OpenWithDefaultHandler(path);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessaly-cli: %s\n", error.what());
        return 1;
    }
    return 0;
}
