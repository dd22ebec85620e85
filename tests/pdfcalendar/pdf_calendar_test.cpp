#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "calendar/names.h"
#include "core/winansi.h"
#include "document/calendar_document.h"
#include "pdfcalendar/pdf_calendar_renderer.h"
#include "support/english_names.h"
#include "support/golden.h"
#include "support/pdf_checks.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

using test::EnglishNames;

// The PDF of a calendar as the program lays it out and draws it, each title `titleWidth`
// window-font pixels wide, with what the fonts gave (`faces`).
std::string RenderedPdf(const CalendarRequest& request, const NameTable& names, int titleWidth,
                        const EmbeddingResult& faces = {}) {
    TPrintPDF pdf("Orvanta");
    pdf.CreationDate = {2026, 3, 4, 5, 6, 7};
    return DrawPdfCalendar(pdf, ComposeCalendar(request, names, nullptr), faces, titleWidth)
        .Joined();
}

// Where the words of a page stand, as pdftotext reads them: the title centred by the
// window font's width of it ((792 - 140 - width) / 2, halves to even), each heading and
// day number 6 points into its 108-point column from 18 on; baselines at 50, 92 and
// 120 + 82 a row. A baseline is a word's top plus Helvetica-Bold's ascent, 718/1000 of the
// size. Weekend cells are shaded with a picture each.
TEST(PdfCalendar, WordsStandWhereTheLayoutPutsThem) {
    struct Case {
        CalendarRequest request;
        int titleWidth;
        int titleX;
        const char* firstHeading;
        int firstDayColumn;
        int lastDayRow;
    };
    const Case cases[] = {
        {{1, 2010, 0, true}, 90, 281, "Monday", 0, 3},   // four rows, 1 Feb a Monday
        {{1, 2026, 1, false}, 91, 280, "Sunday", 0, 3},  // 1 Feb a Sunday
        {{0, 2000, 1, true}, 93, 280, "Sunday", 6, 5},   // 1 Jan a Saturday: six rows
        {{2, 2015, 0, false}, 92, 280, "Monday", 6, 5},  // 1 Mar a Sunday
    };
    for (const Case& c : cases) {
        const std::string month =
            kEnglishMonthNames[static_cast<std::size_t>(c.request.monthIndex)];
        SCOPED_TRACE(month + " " + std::to_string(c.request.year));
        test::TempFolder folder;
        const auto path = folder.path() / "calendar.pdf";
        const std::string bytes = RenderedPdf(c.request, EnglishNames(), c.titleWidth);
        test::WriteWholeFile(path, bytes);
        const auto words = test::WordBoxes(path);
        if (!words) {
            continue;
        }
        const auto at = [&](const std::string& text, int size) {
            for (const test::WordBox& word : *words) {
                if (word.text == text) {
                    return std::pair{static_cast<int>(word.xMin + 0.5),
                                     static_cast<int>(word.yMin + 0.718 * size + 0.5)};
                }
            }
            return std::pair{-1, -1};
        };
        EXPECT_EQ(at(month, 36), std::pair(c.titleX, 50));
        EXPECT_EQ(at(c.firstHeading, 16), std::pair(24, 92));
        EXPECT_EQ(at("Wednesday", 16),
                  std::pair(c.firstHeading == std::string("Monday") ? 240 : 348, 92));
        EXPECT_EQ(at("1", 16), std::pair(24 + 108 * c.firstDayColumn, 120));
        const int length = MonthLength(c.request.monthIndex, c.request.year);
        const int lastColumn = (c.firstDayColumn + length - 1) % 7;
        EXPECT_EQ(at(std::to_string(length), 16),
                  std::pair(24 + 108 * lastColumn, 120 + 82 * c.lastDayRow));
        EXPECT_EQ(words->size(), 2u + 7u + static_cast<std::size_t>(length));
        EXPECT_EQ(test::CountOf(bytes, "/Subtype /Image"), c.request.colorWeekends ? 12u : 0u);
        EXPECT_EQ(test::CountOf(bytes, "/MediaBox [ 0 0 792 612]"), 1u);
        EXPECT_EQ(test::OutsideCheckFailures(path), "");
    }
}

TEST(PdfCalendar, TitleIsCentredWithHalvesToEven) {
    const std::pair<int, int> cases[] = {{90, 281}, {91, 280}, {92, 280}, {93, 280},
                                         {0, 326},  {1, 326},  {3, 324},  {652, 0},
                                         {653, 0},  {655, -2}, {-2, 327}};
    for (const auto& [width, x] : cases) {
        EXPECT_EQ(TitleX(width), x) << width;
    }
    // A4 centres by the title's own width in the PDF font: (842 - 36 * advance / 1000) / 2.
    const std::pair<int, int> centred[] = {{0, 421},    {5000, 331}, {5055, 330}, {5125, 329},
                                           {5250, 326}, {23389, 0},  {23417, -1}, {-1000, 439}};
    for (const auto& [advance, x] : centred) {
        EXPECT_EQ(CentredTitleX(842, 36, advance), x) << advance;
    }
}

// January 2027 on A4, Monday first, with week numbers (53 in the first row): every
// byte. The title is centred by widths of 600 thousandths a character.
TEST(PdfCalendar, A4PageWithWeekNumbersIsTheGoldenFile) {
    EmbeddingResult faces;
    faces.boldWidths.emplace();
    faces.boldWidths->fill(600);
    const std::string bytes = RenderedPdf({0, 2027, 0, false, false, true, Paper::A4, 1, true},
                                          EnglishNames(), 90, faces);
    EXPECT_TRUE(test::MatchesGolden(bytes, "january-2027-a4-monday-weeks.pdf"));
    // Without the font's widths the window font's measure places it, as on Letter.
    const std::string fallback =
        RenderedPdf({0, 2027, 0, true, false, true, Paper::A4}, EnglishNames(), 90);
    EXPECT_NE(fallback.find("/F2 36 Tf\r\n306 545 Td\r\n"), std::string::npos);
}

// The table is in Windows-1252 when it holds every name, else in the embedded face when
// the fonts drew it, else in English; each title is measured as it is shown.
TEST(PdfCalendar, TheTableIsWindows1252OrEmbeddedOrEnglish) {
    NameTable names = EnglishNames();
    names[0] = "So(nn)tag";
    names[3] = "mi\xC3\xA9rcoles";
    names[7] = "J\xC3\xA4nner";
    NameTable cyrillic = names;
    cyrillic[8] = "\xD0\xA4\xD0\xB5\xD0\xB2\xD1\x80\xD0\xB0\xD0\xBB\xD1\x8C";
    EmbeddingResult drawn;
    drawn.fonts.emplace_back();
    drawn.together = std::vector<GlyphRun>(9, GlyphRun{{5, 500, "x"}});
    const auto table = [](const NameTable& given, int monthIndex, const EmbeddingResult& faces) {
        const CalendarDocument document = ComposeCalendar({monthIndex, 2027, 1}, given, nullptr);
        return ChoosePdfTable(document, PdfTextsOf(document, PageGeometryOf(Paper::Letter)), faces);
    };
    const PdfTableTexts latin = table(names, 0, {});
    EXPECT_EQ(latin.winAnsi[0], "So(nn)tag");
    EXPECT_EQ(latin.winAnsi[3], "mi\xE9rcoles");
    EXPECT_EQ(latin.winAnsi[7], "J\xE4nner 2027");
    EXPECT_EQ(latin.shownTitles, std::vector<std::string>{"J\xC3\xA4nner 2027"});
    // Windows-1252 holds January's names, so the table is as before whatever was drawn.
    EXPECT_FALSE(table(names, 0, drawn).Embedded());
    const PdfTableTexts embedded = table(cyrillic, 1, drawn);
    EXPECT_TRUE(embedded.Embedded());
    EXPECT_EQ(embedded.shownTitles, std::vector<std::string>{cyrillic[8] + " 2027"});
    const PdfTableTexts english = table(cyrillic, 1, {});
    EXPECT_FALSE(english.Embedded());
    EXPECT_EQ(english.winAnsi[0], "Sunday");
    EXPECT_EQ(english.winAnsi[7], "February 2027");
    EXPECT_EQ(english.shownTitles, std::vector<std::string>{"February 2027"});
    // Built-in widths of the window font, 13-pixel characters.
    EXPECT_EQ(BuiltInWindowFontWidth("February 2026"), 85);
    EXPECT_EQ(BuiltInWindowFontWidth("M\xE4rz"), 11 + 8 + 4 + 6);
    EXPECT_EQ(BuiltInWindowFontWidth(""), 0);
}

// Localized names with accents, and names a PDF string must escape, still give files
// that qpdf, pdftotext and Ghostscript accept, with the names legible.
TEST(PdfCalendar, CalendarsWithAccentedAndSpecialNamesPassTheOutsideChecks) {
    NameTable accented = EnglishNames();
    accented[0] = "dimanche";
    accented[1] =
        "M\xC3\xBC"
        "ller";                        // ü
    accented[3] = "mi\xC3\xA9rcoles";  // é
    accented[7 + 4] =
        "Stra\xC3\x9F"
        "enmonat";  // ß
    NameTable special = EnglishNames();
    special[2] = "Tue (half)";
    special[5] = "Fri\\day";
    special[6] = "Sat)urday(";
    special[7 + 4] = "Ma(y";
    const std::pair<NameTable, std::vector<std::string>> cases[] = {
        {accented,
         {"M\xC3\xBCller", "mi\xC3\xA9rcoles",
          "Stra\xC3\x9F"
          "enmonat 2031"}},
        {special, {"Tue (half)", "Fri\\day", "Sat)urday(", "Ma(y 2031"}},
    };
    for (const auto& [names, legible] : cases) {
        for (int weekStart : {0, 1}) {
            test::TempFolder folder;
            const auto path = folder.path() / "calendar.pdf";
            test::WriteWholeFile(path, RenderedPdf({4, 2031, weekStart, true}, names, 100));
            EXPECT_EQ(test::CrossReferenceFailures(test::ReadWholeFile(path)), "");
            EXPECT_EQ(test::OutsideCheckFailures(path), "");
            if (const auto text = test::ExtractedText(path)) {
                for (const auto& name : legible) {
                    EXPECT_NE(text->find(name), std::string::npos) << name << " in\n" << *text;
                }
            }
        }
    }
}

TEST(PdfCalendar, TheWeekendPictureIsSilver) {
    const Bitmap24 picture = WeekendPicture();
    EXPECT_EQ(picture.width, 105);
    EXPECT_EQ(picture.height, 137);
    ASSERT_EQ(picture.rgb.size(), 3u * 105 * 137);
    EXPECT_TRUE(
        std::all_of(picture.rgb.begin(), picture.rgb.end(), [](auto b) { return b == 192; }));
}

// Rendered at 72 DPI a pixel is a point: on both papers the grid lies inside the frame,
// weekend cells are silver to their lines and no further, other cells white, lines dark.
TEST(PdfCalendar, RendersSilverWeekendsWhiteDaysAndDarkGridLines) {
#ifdef _WIN32
    GTEST_SKIP() << "the renderer runs on the build machine, not under Windows";
#endif
    if (std::system("pdftoppm -v >/dev/null 2>&1") != 0) {
        if (std::getenv("CI") != nullptr) {
            FAIL() << "pdftoppm is missing";
        }
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    }
    for (const Paper paper : {Paper::Letter, Paper::A4}) {
        const PdfPageGeometry page = PageGeometryOf(paper);
        const int gridRight = page.gridLeft + 7 * page.columnWidth;
        const int gridBottom = page.gridTop + 6 * page.rowHeight;
        EXPECT_GT(page.gridLeft, page.frameInset);
        EXPECT_GT(page.gridTop, page.frameInset);
        EXPECT_LT(gridRight, page.pageWidth - page.frameInset);
        EXPECT_LT(gridBottom, page.pageHeight - page.frameInset);
        for (int weekStart : {0, 1}) {
            SCOPED_TRACE((paper == Paper::A4 ? "A4, week start " : "Letter, week start ") +
                         std::to_string(weekStart));
            test::TempFolder folder;
            const auto pdfPath = folder.path() / "calendar.pdf";
            CalendarRequest request{1, 2010, weekStart, true};
            request.paper = paper;
            test::WriteWholeFile(pdfPath, RenderedPdf(request, EnglishNames(), 90));
            const auto ppmBase = folder.path() / "page";
            const std::string command = "pdftoppm -r 72 -aa no -aaVector no -singlefile " +
                                        pdfPath.string() + " " + ppmBase.string();
            ASSERT_EQ(std::system(command.c_str()), 0);
            const std::string ppm = test::ReadWholeFile(ppmBase.string() + ".ppm");
            const std::string header = "P6\n" + std::to_string(page.pageWidth) + " " +
                                       std::to_string(page.pageHeight) + "\n255\n";
            ASSERT_TRUE(ppm.starts_with(header)) << ppm.substr(0, 20);
            auto pixel = [&](int x, int y) {
                const size_t at = header.size() + 3 * (static_cast<size_t>(y) * page.pageWidth + x);
                return std::array<int, 3>{static_cast<unsigned char>(ppm[at]),
                                          static_cast<unsigned char>(ppm[at + 1]),
                                          static_cast<unsigned char>(ppm[at + 2])};
            };
            constexpr std::array<int, 3> kSilver = {192, 192, 192};
            constexpr std::array<int, 3> kWhite = {255, 255, 255};
            const std::vector<int> weekend =
                weekStart == 0 ? std::vector<int>{5, 6} : std::vector<int>{0, 6};
            for (int column = 0; column < 7; ++column) {
                for (int row = 0; row < 6; ++row) {
                    const bool shaded = std::count(weekend.begin(), weekend.end(), column) > 0;
                    const int left = page.gridLeft + page.columnWidth * column;
                    const int top = page.gridTop + page.rowHeight * row;
                    // Two points inside each corner, clear of the lines and the number.
                    for (const auto& [x, y] :
                         {std::pair{left + 2, top + page.rowHeight - 3},
                          std::pair{left + page.columnWidth - 3, top + 2},
                          std::pair{left + page.columnWidth - 3, top + page.rowHeight - 3}}) {
                        EXPECT_EQ(pixel(x, y), shaded ? kSilver : kWhite)
                            << "cell " << column << "," << row << " at " << x << "," << y;
                    }
                }
                const auto line = pixel(page.gridLeft + page.columnWidth * column, 141);
                EXPECT_LT(line[0] + line[1] + line[2], 3 * 100) << "line left of " << column;
            }
            // Nothing beyond the grid's right and bottom lines.
            EXPECT_EQ(pixel(gridRight + 2, page.gridTop + 40), kWhite);
            EXPECT_EQ(pixel(page.gridLeft + 6 * page.columnWidth + 40, gridBottom + 3), kWhite);
        }
    }
}

}  // namespace
}  // namespace tessaly
