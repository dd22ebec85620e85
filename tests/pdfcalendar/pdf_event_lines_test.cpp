#include <gtest/gtest.h>

#include "pdfcalendar/pdf_event_lines.h"

namespace tessaly {
namespace {

// Cut by Helvetica's real widths at 7 points in 99 points (a Letter cell): "W" is 944
// thousandths, "i" 222, the blank 278, "…" 1000.
TEST(PdfEventLines, LinesTooWideForTheCellAreCutWithAnEllipsis) {
    const auto width = [](std::string_view text) {
        int advance = 0;
        for (const char c : text) {
            advance += HelveticaWidths()[static_cast<unsigned char>(c)];
        }
        return advance;
    };
    EXPECT_EQ(width("W"), 944);
    EXPECT_EQ(width("\x85"), 1000);
    const std::pair<std::string, std::string> cases[] = {
        {"09:30 Dentist", "09:30 Dentist"},
        // 14 W are 13216 thousandths, 92.5 points: they fit; 15 do not.
        {std::string(14, 'W'), std::string(14, 'W')},
        {std::string(15, 'W'), std::string(13, 'W') + "\x85"},
        {std::string(63, 'i'), std::string(63, 'i')},
        {std::string(64, 'i'), std::string(59, 'i') + "\x85"},
        // The blank before the cut goes.
        {std::string(13, 'W') + " WW", std::string(13, 'W') + "\x85"},
        {"", ""},
    };
    for (const auto& [text, fitted] : cases) {
        EXPECT_EQ(FitWinAnsi(text, HelveticaWidths(), 7, 99), fitted) << text;
        EXPECT_LE(width(fitted) * 7, 99 * 1000) << text;
    }
}

GlyphRun Glyphs(std::initializer_list<std::pair<const char*, int>> glyphs) {
    GlyphRun run;
    std::uint16_t code = 1;
    for (const auto& [text, width] : glyphs) {
        run.push_back({code++, width, text});
    }
    return run;
}

std::string Texts(const GlyphRun& run) {
    std::string texts;
    for (const EmbeddedGlyph& glyph : run) {
        texts += glyph.text.empty() ? "+" : glyph.text;
    }
    return texts;
}

// Glyph runs are cut between characters (a glyph without text belongs to the one before):
// a left-to-right text keeps its start on the left, a right-to-left one on the right.
TEST(PdfEventLines, GlyphRunsAreCutBetweenCharacters) {
    const GlyphRun ellipsis = Glyphs({{"\xE2\x80\xA6", 1000}});
    struct Case {
        GlyphRun run;
        std::string text;
        std::string fitted;
    };
    const Case cases[] = {
        {Glyphs({{"a", 3000}, {"b", 3000}}), "ab", "ab"},
        {Glyphs({{"a", 3000}, {"b", 3000}, {"c", 3000}, {"d", 3000}}), "abcd", "abc\xE2\x80\xA6"},
        {Glyphs({{"a", 3000}, {"b", 3000}, {"", 4000}, {"c", 3000}}), "abc", "a\xE2\x80\xA6"},
        {Glyphs({{"a", 3000}, {" ", 3000}, {"b", 4000}, {"c", 6000}}), "a bc", "a\xE2\x80\xA6"},
        // Shaped right to left: the text's start is the rightmost glyph.
        {Glyphs({{"d", 3000}, {"c", 3000}, {"b", 3000}, {"a", 3000}}), "abcd",
         "\xE2\x80\xA6"
         "cba"},
    };
    for (const Case& c : cases) {
        // 10 points at 1 point a thousand: 10000 thousandths.
        EXPECT_EQ(Texts(FitGlyphs(c.run, c.text, ellipsis, 1, 10)), c.fitted) << c.text;
    }
}

// A cell lists what fits and keeps its last line for the count of the rest.
TEST(PdfEventLines, CellsShowWhatFitsAndCountTheRest) {
    DayEvents ten;
    for (int k = 0; k < 10; ++k) {
        ten.lines.push_back("Event " + std::to_string(k));
    }
    EXPECT_EQ(ShownEventTexts(ten, 10), ten.lines);
    const auto seven = ShownEventTexts(ten, 7);
    ASSERT_EQ(seven.size(), 7u);
    EXPECT_EQ(seven[5], "Event 5");
    EXPECT_EQ(seven[6], "+4 more");
    DayEvents flooded{{"A", "B"}, 48};
    EXPECT_EQ(ShownEventTexts(flooded, 2), (std::vector<std::string>{"A", "+49 more"}));

    const std::tuple<Paper, bool, int> rooms[] = {
        {Paper::Letter, false, 7},
        {Paper::Letter, true, 5},
        {Paper::A4, false, 6},
        {Paper::A4, true, 4},
    };
    for (const auto& [paper, weekNumber, lines] : rooms) {
        EXPECT_EQ(EventLinesInCell(PageGeometryOf(paper), weekNumber), lines);
    }
}

}  // namespace
}  // namespace tessaly
