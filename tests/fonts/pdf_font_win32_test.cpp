#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "calendar/names.h"
#include "document/calendar_document.h"
#include "fonts/font_backend.h"
#include "fonts/pdf_fonts.h"
#include "pdfcalendar/pdf_calendar_renderer.h"
#include "platform/locale_names.h"
#include "platform/locale_names_win32.h"
#include "support/pdf_checks.h"

namespace tessaly {
namespace {

std::string Glyphs(const GlyphRun& run) {
    std::string texts;
    for (const EmbeddedGlyph& glyph : run) {
        texts += glyph.text + "|";
    }
    return texts;
}

// Uniscribe orders right-to-left text for display, shapes joining scripts, and keeps
// each character with its glyph for copying; the prefix holds Liberation Sans and
// DejaVu Sans.
TEST(EmbedTextsForPdf, ShapesAndOrdersInOneTrueTypeFace) {
    const struct {
        const char* text;
        const char* displayOrder;  // each glyph's characters, left to right
    } cases[] = {
        {"Декабрь", "Д|е|к|а|б|р|ь|"},
        {"\xD7\xA9\xD7\xA0\xD7\x99 12", "1|2| |\xD7\x99|\xD7\xA0|\xD7\xA9|"},  // Hebrew
    };
    for (const auto& c : cases) {
        const auto embedded = EmbedTextsInOneFace({c.text}, FaceWeight::Bold, "");
        ASSERT_TRUE(embedded) << c.text;
        EXPECT_EQ(embedded->font.outlines, EmbeddedFont::Outlines::TrueType);
        EXPECT_FALSE(embedded->font.program.empty());
        ASSERT_EQ(embedded->runs.size(), 1u);
        EXPECT_EQ(Glyphs(embedded->runs[0]), c.displayOrder);
    }
    // Arabic letters join: fewer glyphs than characters is not required, but each glyph
    // is a real one and the text comes back whole.
    const auto arabic =
        EmbedTextsInOneFace({"\xD8\xA7\xD9\x84\xD8\xB3\xD8\xA8\xD8\xAA"}, FaceWeight::Bold, "");
    ASSERT_TRUE(arabic);
    std::string back;
    for (auto glyph = arabic->runs[0].rbegin(); glyph != arabic->runs[0].rend(); ++glyph) {
        back += glyph->text;
    }
    EXPECT_EQ(back, "\xD8\xA7\xD9\x84\xD8\xB3\xD8\xA8\xD8\xAA");
}

// Uniscribe's marks keep their offsets, a format character needs no glyph of its own, and
// each text goes to a regular face that holds it, one subset a face: Cyrillic and Latin
// in Liberation Sans, Arabic in DejaVu Sans.
TEST(EmbedTextsForPdf, MarksJoinersAndAFacePerText) {
    // "مُدير": a damma over the mim.
    const auto vowelled =
        EmbedTextsInOneFace({"\xD9\x85\xD9\x8F\xD8\xAF\xD9\x8A\xD8\xB1"}, FaceWeight::Regular, "");
    ASSERT_TRUE(vowelled);
    EXPECT_TRUE(
        std::any_of(vowelled->runs[0].begin(), vowelled->runs[0].end(),
                    [](const EmbeddedGlyph& g) { return g.xOffset != 0 || g.yOffset != 0; }))
        << Glyphs(vowelled->runs[0]);
    // "سه‌شنبه", Tuesday in Persian, with a ZERO WIDTH NON-JOINER.
    const auto persian = EmbedTextsInOneFace(
        {"\xD8\xB3\xD9\x87\xE2\x80\x8C\xD8\xB4\xD9\x86\xD8\xA8\xD9\x87"}, FaceWeight::Bold, "");
    ASSERT_TRUE(persian);
    EXPECT_NE(persian->font.postScriptName.find("Bold"), std::string::npos);

    const EmbeddedFaces faces = EmbedTextsInFaces(
        {"\xE2\x80\xA6", "\xD0\x94\xD0\xB5\xD0\xBA", "\xD8\xA7\xD9\x84\xD8\xA3\xD8\xAD\xD8\xAF"},
        FaceWeight::Regular, "");
    std::string given;
    for (const EmbeddedFont& font : faces.fonts) {
        given += font.postScriptName + " ";
    }
    for (const auto& run : faces.runs) {
        // Appended, not "|" + ...: mingw's GCC 12 warns of that falsely (-Wrestrict).
        given += '|';
        given += run ? Glyphs(*run) : std::string("none");
    }
    ASSERT_EQ(faces.fonts.size(), 2u) << given;
    EXPECT_EQ(faces.fonts[0].postScriptName, "LiberationSans-Regular");
    EXPECT_EQ(faces.fonts[1].postScriptName, "DejaVuSans-Book");
    const std::uint16_t expectedFaces[] = {0, 0, 1};
    for (std::size_t k = 0; k < 3; ++k) {
        ASSERT_TRUE(faces.runs[k]) << k;
        for (const EmbeddedGlyph& glyph : *faces.runs[k]) {
            EXPECT_EQ(glyph.face, expectedFaces[k]) << k;
        }
    }
}

// A Russian calendar on a Western-code-page machine (the run is French): the wide API
// brings the names whole, and the PDF draws them, all of them, in the embedded face.
TEST(EmbedTextsForPdf, RussianNamesReachThePdfWhateverTheCodePage) {
    const LocaleNames russian = ReadLocaleNames(0x0419);
    EXPECT_EQ(russian.months[11], "декабрь");
    EXPECT_EQ(russian.days[1], "понедельник");
    NameTable names;
    FillDayNames(names, true, russian);
    FillMonthNames(names, true, russian);
    const CalendarDocument document = ComposeCalendar({11, 2026, 0}, names, nullptr);
    const PdfPageGeometry page = PageGeometryOf(Paper::Letter);
    const PdfCalendarTexts texts = PdfTextsOf(document, page);
    const EmbeddingResult faces = EmbedTextsForPdf(FaceRequestOf(texts));
    TPrintPDF pdf("Orvanta");
    const std::string bytes =
        DrawPdfCalendar(pdf, document, faces, BuiltInWindowFontWidthOfUtf8(document.title))
            .Joined();

    EXPECT_EQ(test::CrossReferenceFailures(bytes), "");
    EXPECT_NE(bytes.find("/Subtype /CIDFontType2"), std::string::npos);
    EXPECT_NE(bytes.find("/FontFile2 "), std::string::npos);
    // д and п, the first letters of December and Monday, in the ToUnicode map; no
    // English name anywhere.
    EXPECT_NE(bytes.find("> <0434>\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("> <043F>\r\n"), std::string::npos);
    for (const char* english : {"(December 2026)", "(Monday)", "(Sunday)"}) {
        EXPECT_EQ(bytes.find(english), std::string::npos) << english;
    }
    std::size_t glyphTexts = 0;
    for (auto at = bytes.find("> Tj\r\n"); at != std::string::npos;
         at = bytes.find("> Tj\r\n", at + 1)) {
        ++glyphTexts;
    }
    EXPECT_EQ(glyphTexts, 8u);  // the title and the seven headings
}

// --locale on Windows: a name LocaleNameToLCID knows gives that locale's names in UTF-8
// and the ANSI code page it writes, whatever the session's locale; any other name,
// nothing.
TEST(ReadNamedLocaleNames, ResolvesNamesThroughLocaleIds) {
    const auto german = ReadNamedLocaleNames("de-DE");
    ASSERT_TRUE(german);
    EXPECT_EQ(german->months[2], "März");
    EXPECT_EQ(german->days[1], "Montag");
    EXPECT_EQ(german->codePage, 1252u);
    const auto russian = ReadNamedLocaleNames("ru-RU");
    ASSERT_TRUE(russian);
    EXPECT_EQ(russian->months[11], "декабрь");
    EXPECT_EQ(russian->codePage, 1251u);
    for (const char* unknown : {"xx-YY", "de_DE.UTF-8", "", "d\xE9-DE"}) {
        EXPECT_FALSE(ReadNamedLocaleNames(unknown)) << unknown;
    }
}

}  // namespace
}  // namespace tessaly
