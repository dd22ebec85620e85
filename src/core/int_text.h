#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// The program's one rule for turning text into an integer: leading blanks, an optional
// sign, then decimal digits, or hex digits after "$", "x" or "0x" (either case).
// Empty text, a lone sign or prefix, anything after the digits, or a value outside
// the 32-bit signed range gives nothing; callers apply their own fallback.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

// `value` in decimal, led by zeros to `width` digits when it has fewer; never follows
// the process locale.
std::string ZeroPadded(std::uint64_t value, int width);

// A time of day as the calendar writes it without a locale: "09:30".
std::string TwentyFourHourTime(int hour, int minute);

}  // namespace tessaly
