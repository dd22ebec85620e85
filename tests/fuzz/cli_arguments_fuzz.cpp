// tessaly-cli's argument parser on any arguments (NUL-separated in the input): it
// either names a usage error or gives options within their ranges.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "cli/cli_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back() += static_cast<char>(data[i]);
        }
    }
    const auto parsed = tessaly::ParseCliArguments(args, {2026, 12, 8, 12, 0, 0});
    if (const auto* error = std::get_if<tessaly::CliUsageError>(&parsed)) {
        if (error->message.empty()) {
            std::abort();
        }
        return 0;
    }
    const auto& options = std::get<tessaly::CliOptions>(parsed);
    if (options.month < 1 || options.month > 12 || options.year < 1900 || options.year > 2100 ||
        (options.firstWeekday && (*options.firstWeekday < 0 || *options.firstWeekday > 6)) ||
        (options.weekend && (std::count(options.weekend->begin(), options.weekend->end(), true) %
                             7) == 0) ||
        (options.regional && !options.localized) || options.outputFolder.empty() ||
        (options.color && (*options.color < 0 || *options.color > 0xFFFFFF))) {
        std::abort();
    }
    return 0;
}
