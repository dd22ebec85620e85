#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "calendar/color.h"
#include "core/date_time.h"

namespace tessaly {

struct CliOptions {
    int month = 1;  // 1..12
    int year = 2000;
    int weekStart = 1;  // 0 Monday, 1 Sunday
    bool colorWeekends = false;
    std::optional<ColorValue> color;
    bool localized = false;
    bool pdf = false;
    std::string outputFolder = ".";
    bool open = false;
    bool help = false;
    bool version = false;
};

struct CliUsageError {
    std::string message;
};

// Parses the arguments after the program name; month and year default to `today`
// (the year clamped into the calendar's years).
std::variant<CliOptions, CliUsageError> ParseCliArguments(const std::vector<std::string>& args,
                                                          const LocalDateTime& today);

// The text of --help.
std::string CliUsage();

}  // namespace tessaly
