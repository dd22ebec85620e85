#include <gtest/gtest.h>

#include "platform/text_encoding.h"

namespace tessaly {
namespace {

// What a terminal gives each character, as Unicode's East Asian widths and combining
// marks have it: the system's measure (wcwidth, or the character types on Windows).
TEST(DisplayColumnsOf, MarksTakeNoneWideCharactersTwoOthersOne) {
    const std::pair<char32_t, int> cases[] = {
        {U'A', 1},      {U'\u00E9', 1}, {U'\u0301', 0},     {U'\u03A3', 1},  // é, a mark, Σ
        {U'\u0627', 1}, {U'\u064E', 0}, {U'\u05D0', 1},                      // ا, a vowel mark, א
        {U'\u65E5', 2}, {U'\u3042', 2}, {U'\u30A2', 2},     {U'\uFF21', 2},  // 日, あ, ア, Ａ
        {U'\uFF71', 1}, {U'\uAC00', 2}, {U'\U00020000', 2},                  // half-width ｱ, 가
    };
    std::u32string characters;
    for (const auto& c : cases) {
        characters += c.first;
    }
    const std::vector<int> columns = DisplayColumnsOf(characters);
    ASSERT_EQ(columns.size(), characters.size());
    for (std::size_t k = 0; k < characters.size(); ++k) {
        EXPECT_EQ(columns[k], cases[k].second) << std::hex << static_cast<unsigned>(characters[k]);
    }
}

}  // namespace
}  // namespace tessaly
