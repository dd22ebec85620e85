#include <gtest/gtest.h>

#include "core/int_text.h"
#include "core/rounding.h"
#include "core/winansi.h"

namespace tessaly {
namespace {

TEST(IntegerText, ConvertsByTheOneRule) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"2026", 2026},
        {"  1", 1},
        {"+7", 7},
        {"-12", -12},
        {"007", 7},
        {"$1F", 31},
        {"$1f", 31},
        {"x10", 16},
        {"X10", 16},
        {"0x10", 16},
        {"0XfF", 255},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$7FFFFFFF", 2147483647},
        // Nothing converts below.
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"1 ", std::nullopt},
        {"12.5", std::nullopt},
        {"12,5", std::nullopt},
        {"1e3", std::nullopt},
        {"\t1", std::nullopt},
        {"- 1", std::nullopt},
        {"$G", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$80000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseIntegerText(text), expected) << '"' << text << '"';
    }
}

TEST(Numbers, ZeroPaddingAndRoundingHalvesToEven) {
    EXPECT_EQ(ZeroPadded(7, 2), "07");
    EXPECT_EQ(ZeroPadded(0, 10), "0000000000");
    EXPECT_EQ(ZeroPadded(12345, 2), "12345");
    EXPECT_EQ(ZeroPadded(18446744073709551615u, 0), "18446744073709551615");
    const std::tuple<int, int, int> cases[] = {
        {756, 7, 108}, {572, 7, 82}, {5, 2, 2},   {7, 2, 4},   {3, 2, 2},   {-1, 2, 0},
        {-3, 2, -2},   {-5, 2, -2},  {-7, 2, -4}, {-4, 3, -1}, {-5, 3, -2}, {0, 5, 0},
    };
    for (const auto& [numerator, denominator, rounded] : cases) {
        EXPECT_EQ(RoundedHalfToEven(numerator, denominator), rounded)
            << numerator << "/" << denominator;
    }
}

TEST(WinAnsi, ConvertsWhatWindows1252CanShowAndNothingElse) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"Monday", "Monday"},
        {"", ""},
        {"d\xC3\xA9"
         "cembre",
         "d\xE9"
         "cembre"},                  // é
        {"M\xC3\xA4rz", "M\xE4rz"},  // ä
        {"Stra\xC3\x9F"
         "e",
         "Stra\xDF"
         "e"},                                                               // ß
        {"\xE2\x82\xAC", "\x80"},                                            // euro sign
        {"\xC5\xA0", "\x8A"},                                                // Š
        {"\xC5\xB8", "\x9F"},                                                // Ÿ
        {"\xD1\x8F\xD0\xBD\xD0\xB2\xD0\xB0\xD1\x80\xD1\x8C", std::nullopt},  // январь
        {"\xCE\x99\xCE\xB1", std::nullopt},                                  // Greek
        {"\xC2\x81", std::nullopt},   // a C1 control 1252 lacks
        {"\xC3", std::nullopt},       // cut short
        {"\xC0\xA9", std::nullopt},   // overlong
        {"\xE9t\xE9", std::nullopt},  // Latin-1 bytes, not UTF-8
    };
    for (const auto& [utf8, expected] : cases) {
        EXPECT_EQ(Utf8ToWinAnsi(utf8), expected) << utf8;
    }
}

}  // namespace
}  // namespace tessaly
