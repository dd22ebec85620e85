#include <regex>
#include <stdexcept>

#include "fonts/font_backend.h"
#include "pdf_test_support.h"

namespace tessaly::test {
namespace {

// A real subset program from the machine's fonts, holding "A" and "B" as glyphs 1 and 2
// in its TrueType form.
std::optional<EmbeddedFont> ProgramWithAB() {
    auto embedded = EmbedTextsInOneFace({"AB"}, FaceWeight::Bold, "");
    if (!embedded || embedded->font.outlines != EmbeddedFont::Outlines::TrueType) {
        return std::nullopt;
    }
    return embedded->font;
}

TEST_F(PdfWriterTest, EmbeddedFontFollowsTheCatalogOnlyWhenGlyphsAreDrawn) {
    const auto font = ProgramWithAB();
    if (!font) {
        GTEST_SKIP() << "no TrueType face for Latin text on this machine";
    }
    const GlyphRun ab = {{1, 722, "A"}, {2, 611, "B"}};
    const auto document = [&](bool embed, const std::vector<GlyphRun>& runs, const char* name) {
        TPrintPDF pdf = Writer();
        pdf.PageWidth = 792;
        pdf.PageHeight = 612;
        pdf.Font.Size = 16;
        pdf.BeginDocument();
        pdf.DrawText(24, 100, "x");
        if (embed) {
            pdf.EmbedFont(*font);
        }
        for (const GlyphRun& run : runs) {
            pdf.DrawGlyphs(24, 120, run);
        }
        return Finish(pdf, name);
    };

    // Embedded but never drawn: the document as without it.
    EXPECT_EQ(document(true, {}, "unused.pdf"), document(false, {}, "plain.pdf"));

    const std::string bytes = document(true, {ab, {{2, 611, "B"}}}, "used.pdf");
    EXPECT_NE(ContentOf(bytes).find("BT\r\n/F15 16 Tf\r\n24 492 Td\r\n<00010002> Tj\r\nET\r\n"),
              std::string::npos);
    EXPECT_NE(ObjectText(bytes, 20).find("/F14 18 0 R \r\n/F15 23 0 R \r\n>>"), std::string::npos);
    EXPECT_NE(bytes.find("trailer\r\n<< /Size 28\r\n/Root 22 0 R"), std::string::npos);
    const std::string type0(ObjectText(bytes, 23));
    const std::smatch name = [&] {
        std::smatch match;
        std::regex_search(type0, match, std::regex("/BaseFont /([A-Z]{6}\\+[A-Za-z0-9-]+)\r\n"));
        return match;
    }();
    ASSERT_FALSE(name.empty()) << type0;
    EXPECT_EQ(type0,
              CrLfLines({"23 0 obj", "<< /Type /Font", "/Subtype /Type0", "/Name /F15",
                         "/BaseFont /" + name[1].str(), "/Encoding /Identity-H",
                         "/DescendantFonts [ 24 0 R]", "/ToUnicode 27 0 R", ">>", "endobj"}));
    EXPECT_NE(ObjectText(bytes, 24).find(
                  "/Subtype /CIDFontType2\r\n/BaseFont /" + name[1].str() +
                  "\r\n/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 "
                  ">>\r\n/FontDescriptor 25 0 R\r\n/CIDToGIDMap /Identity\r\n/DW 1000\r\n"
                  "/W [\r\n1 [ 722 611]\r\n]\r\n"),
              std::string::npos);
    EXPECT_NE(ObjectText(bytes, 25).find("/FontFile2 26 0 R"), std::string::npos);
    EXPECT_NE(ObjectText(bytes, 26).find("<< /Length " + std::to_string(font->program.size()) +
                                         " /Length1 " + std::to_string(font->program.size())),
              std::string::npos);
    EXPECT_NE(ObjectText(bytes, 27).find("2 beginbfchar\r\n<0001> <0041>\r\n<0002> <0042>\r\n"),
              std::string::npos);

    // The tag follows the glyph set: the same glyphs, the same tag; others, another.
    EXPECT_NE(document(true, {ab}, "again.pdf").find(name[1].str()), std::string::npos);
    EXPECT_EQ(document(true, {{{2, 611, "B"}}}, "other.pdf").find(name[1].str()),
              std::string::npos);
}

TEST(PdfWriterUse, GlyphsWithoutAnEmbeddedFontAreRejected) {
    TPrintPDF pdf(kMaker);
    pdf.BeginDocument();
    pdf.DrawGlyphs(0, 0, {{1, 500, "a"}});
    EXPECT_THROW(pdf.EndDocument(), std::logic_error);
}

}  // namespace
}  // namespace tessaly::test
