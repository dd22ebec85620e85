#include "cli/cli_options.h"

#include <algorithm>

#include "calendar/month_grid.h"
#include "core/int_text.h"
#include "output/calendar_output.h"

namespace tessaly {

std::string CliUsage() {
    const std::string html = kHtmlFileName;
    const std::string pdf = kPdfFileName;
    const std::string years = std::to_string(kFirstYear) + "-" + std::to_string(kLastYear);
    // clang-format off
    return "Usage: tessaly-cli [options]\n"
           "Writes a one-page calendar of one month as " + html + " (or " + pdf + ")\n"
           "and prints the written file's full path.\n"
           "\n"
           "Options:\n"
           "  --month N              month 1-12 (default: this month)\n"
           "  --year N               year " + years + " (default: this year)\n"
           "  --week-start DAY       monday or sunday (default: sunday)\n"
           "  --color-weekends       colour the weekend columns\n"
           "  --color RRGGBB         weekend colour of the HTML page, red first; implies\n"
           "                         --color-weekends (default: c0c0c0)\n"
           "  --localized            day and month names from the user's locale\n"
           "  --pdf                  write " + pdf + " instead of " + html + "\n"
           "  --output DIR           folder to write into (default: the current folder)\n"
           "  --open                 open the written file with the default viewer\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n";
    // clang-format on
}

namespace {

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

std::variant<CliOptions, CliUsageError> ParseCliArguments(const std::vector<std::string>& args,
                                                          const LocalDateTime& today) {
    CliOptions options;
    options.month = today.month;
    options.year = ClampedYear(today.year);

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
        } else if (name == "--week-start") {
            const auto value = takeValue();
            if (!value) {
                return missing();
            }
            if (*value == "monday") {
                options.weekStart = 0;
            } else if (*value == "sunday") {
                options.weekStart = 1;
            } else {
                return CliUsageError{"--week-start: '" + *value + "' is not monday or sunday"};
            }
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
        } else if (name == "--color-weekends") {
            error = flag(options.colorWeekends);
        } else if (name == "--localized") {
            error = flag(options.localized);
        } else if (name == "--pdf") {
            error = flag(options.pdf);
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
    return options;
}

}  // namespace tessaly
