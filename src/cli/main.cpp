// tessaly-cli: the calendar files of the desktop program, made from the command line.
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "calendar/color.h"
#include "calendar/names.h"
#include "cli/cli_options.h"
#include "core/errors.h"
#include "core/product.h"
#include "html/html_calendar.h"
#include "platform/file_save.h"
#include "platform/locale_names.h"
#include "platform/system.h"

namespace {

using namespace tessaly;

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
