#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "calendar/names.h"
#include "core/winansi.h"
#include "pdfcalendar/pdf_calendar.h"
#include "support/golden.h"
#include "support/pdf_checks.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

// The writer's output, kept in memory.
struct MemoryPdf {
    MemoryPdf() { pdf.CreationDate = {2026, 3, 4, 5, 6, 7}; }
    TPrintPDF pdf{"Orvanta"};
    std::string bytes;
};

NameTable EnglishNames() {
    NameTable names;
    FillDayNames(names, false, {});
    FillMonthNames(names, false, {});
    return names;
}

PdfCalendarEnvironment FixedWidth(int width) {
    return {[width](const std::string&) { return width; },
            [](std::string_view text) { return Utf8ToWinAnsi(text); }};
}

// Object 2's stream: the page's drawing operators.
std::string ContentOf(const std::string& file) {
    const std::string head = "2 0 obj\r\n<< /Length 3 0 R\r\n >>\r\nstream\r\n";
    const auto start = file.find(head);
    const auto end = file.find("endstream\r\n", start);
    if (start == std::string::npos || end == std::string::npos) {
        return "<no content stream>";
    }
    return file.substr(start + head.size(), end - start - head.size());
}

// The drawing operators of one calendar page in PDF coordinates (y up from 612).
class ExpectedPage {
  public:
    void Line(int x1, int y1, int x2, int y2) {
        Add(std::to_string(x1) + " " + std::to_string(612 - y1) + " m");
        Add(std::to_string(x2) + " " + std::to_string(612 - y2) + " l");
        Add("1 w");
        Add("S");
    }
    void Rectangle(int x1, int y1, int x2, int y2) {
        Line(x1, y1, x1, y2);
        Line(x1, y2, x2, y2);
        Line(x2, y2, x2, y1);
        Line(x2, y1, x1, y1);
    }
    void Text(int size, int x, int y, const std::string& text) {
        Add("BT");
        Add("/F2 " + std::to_string(size) + " Tf");
        Add(std::to_string(x) + " " + std::to_string(612 - y) + " Td");
        Add("(" + text + ") Tj");
        Add("ET");
    }
    void Picture(int number, int x, int y) {
        Add("q");
        Add("108 0 0 82 " + std::to_string(x) + " " + std::to_string(612 - y - 82) + " cm");
        Add("/Im" + std::to_string(number) + " Do");
        Add("Q");
    }
    const std::string& Text() const { return text_; }

  private:
    void Add(const std::string& line) { text_ += line + "\r\n"; }
    std::string text_;
};

struct PageCase {
    const char* name;
    CalendarRequest request;
    int titleWidth;
    int titleX;
    std::vector<std::string> headings;  // left to right
    std::vector<int> weekendColumns;    // 0-based
    int pictureTop;                     // of row 0
};

// Named in test listings by its name alone.
void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

class PdfCalendarPage : public ::testing::TestWithParam<PageCase> {};

TEST_P(PdfCalendarPage, DrawsFrameTitleHeadingsAndGridInOrder) {
    const PageCase& c = GetParam();
    ExpectedPage expected;
    expected.Rectangle(12, 12, 780, 600);
    expected.Rectangle(12, 12, 780, 600);
    const NameTable names = EnglishNames();
    expected.Text(36, c.titleX, 50,
                  names[7 + c.request.monthIndex] + " " + std::to_string(c.request.year));
    for (int k = 0; k < 7; ++k) {
        expected.Text(16, 24 + 108 * k, 92, c.headings[k]);
    }
    int picture = 0;
    for (int column = 0; column < 7; ++column) {
        for (int row = 0; row < 6; ++row) {
            const bool weekend =
                std::count(c.weekendColumns.begin(), c.weekendColumns.end(), column);
            if (c.request.colorWeekends && weekend) {
                expected.Picture(++picture, 18 + 108 * column, c.pictureTop + 82 * row);
            }
            expected.Rectangle(18 + 108 * column, 100 + 82 * row, 126 + 108 * column,
                               182 + 82 * row);
            expected.Text(16, 24 + 108 * column, 120 + 82 * row,
                          CellText(c.request, 7 * row + column + 1));
        }
    }

    MemoryPdf out;
    out.bytes = WritePdfCalendar(out.pdf, c.request, names, WeekendPicture(),
                                 FixedWidth(c.titleWidth), "/somewhere/calendar.pdf")
                    .Joined();
    EXPECT_EQ(out.pdf.FileName, "/somewhere/calendar.pdf");
    EXPECT_EQ(ContentOf(out.bytes), expected.Text());

    const auto count = [&](const std::string& what) {
        size_t n = 0;
        for (auto at = out.bytes.find(what); at != std::string::npos;
             at = out.bytes.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count("/Subtype /Image"), c.request.colorWeekends ? 12u : 0u);
    EXPECT_EQ(count("/Width 105\r\n/Height 137\r\n"), c.request.colorWeekends ? 12u : 0u);
    EXPECT_EQ(count(" Tj\r\n"), 1u + 7u + 42u);
    EXPECT_NE(out.bytes.find("/Title (Calendar by Tessaly)\r\n"), std::string::npos);
    EXPECT_NE(out.bytes.find("/Author (Tessaly, [https://orvanta.example/tessaly/])\r\n"),
              std::string::npos);
    EXPECT_NE(out.bytes.find("/Creator (Tessaly)\r\n/Keywords ()\r\n/Subject ()\r\n"),
              std::string::npos);
    EXPECT_NE(out.bytes.find("/Producer (Orvanta)\r\n"), std::string::npos);
    EXPECT_NE(out.bytes.find("/MediaBox [ 0 0 792 612]\r\n"), std::string::npos);
}

const std::vector<std::string> kMondayFirst = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                               "Friday", "Saturday", "Sunday"};
const std::vector<std::string> kSundayFirst = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};

INSTANTIATE_TEST_SUITE_P(
    Layouts, PdfCalendarPage,
    ::testing::Values(
        // Four rows of days; the shading sits one point below each cell's top.
        PageCase{"FebruaryMondayShaded", {1, 2010, 0, true}, 90, 281, kMondayFirst, {5, 6}, 101},
        PageCase{"FebruarySundayPlain", {1, 2026, 1, false}, 91, 280, kSundayFirst, {0, 6}, 100},
        PageCase{"JanuarySundayShaded", {0, 2000, 1, true}, 93, 280, kSundayFirst, {0, 6}, 100},
        PageCase{"MarchMondayPlain", {2, 2015, 0, false}, 92, 280, kMondayFirst, {5, 6}, 101}),
    [](const auto& info) { return std::string(info.param.name); });

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
    PdfCalendarEnvironment environment = FixedWidth(90);
    environment.titleFontWidths = [] {
        WinAnsiWidths widths;
        widths.fill(600);
        return std::optional(widths);
    };
    MemoryPdf out;
    out.bytes = WritePdfCalendar(out.pdf, {0, 2027, 0, false, false, true, Paper::A4, 1, true},
                                 EnglishNames(), WeekendPicture(), environment, "calendar.pdf")
                    .Joined();
    EXPECT_TRUE(test::MatchesGolden(out.bytes, "january-2027-a4-monday-weeks.pdf"));
    // Without the font's widths the window font's measure places it, as on Letter.
    environment.titleFontWidths = [] { return std::optional<WinAnsiWidths>(); };
    MemoryPdf fallback;
    fallback.bytes = WritePdfCalendar(fallback.pdf, {0, 2027, 0, true, false, true, Paper::A4},
                                      EnglishNames(), WeekendPicture(), environment, "calendar.pdf")
                         .Joined();
    EXPECT_NE(ContentOf(fallback.bytes).find("/F2 36 Tf\r\n306 545 Td\r\n"), std::string::npos);
}

TEST(PdfCalendar, NamesAreShownInWindows1252OrElseInEnglish) {
    NameTable names = EnglishNames();
    names[0] = "So(nn)tag";
    names[1] = "Back\\slash";
    names[3] = "mi\xC3\xA9rcoles";
    names[7] = "J\xC3\xA4nner";
    names[8] = "\xD0\xA4\xD0\xB5\xD0\xB2\xD1\x80\xD0\xB0\xD0\xBB\xD1\x8C";  // Cyrillic
    names[19] = "not a name";
    const NameTable shown = PdfNames(names, [](std::string_view t) { return Utf8ToWinAnsi(t); });
    EXPECT_EQ(shown[0], "So(nn)tag");
    EXPECT_EQ(shown[1], "Back\\slash");
    EXPECT_EQ(shown[3], "mi\xE9rcoles");
    EXPECT_EQ(shown[7], "J\xE4nner");
    EXPECT_EQ(shown[8], "February");
    EXPECT_EQ(shown[19], "not a name");
}

// The title is measured as the window shows it: the English name where the PDF uses it.
TEST(PdfCalendar, TitleWidthIsAskedOfTheTextTheWindowWouldShow) {
    NameTable names = EnglishNames();
    names[8] = "\xD0\xA4\xD0\xB5\xD0\xB2\xD1\x80\xD0\xB0\xD0\xBB\xD1\x8C";
    names[9] = "M\xC3\xA4rz";
    std::vector<std::string> measured;
    PdfCalendarEnvironment environment{
        [&](const std::string& text) {
            measured.push_back(text);
            return BuiltInWindowFontWidth(Utf8ToWinAnsi(text).value_or(text));
        },
        [](std::string_view text) { return Utf8ToWinAnsi(text); }};
    for (int month : {1, 2}) {
        MemoryPdf out;
        WritePdfCalendar(out.pdf, {month, 2027, 1}, names, WeekendPicture(), environment, "x.pdf");
    }
    EXPECT_EQ(measured, (std::vector<std::string>{"February 2027", "M\xC3\xA4rz 2027"}));
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
            TPrintPDF pdf("Orvanta");
            pdf.CreationDate = {2031, 5, 1, 0, 0, 0};
            test::WriteWholeFile(
                path, WritePdfCalendar(pdf, {4, 2031, weekStart, true}, names, WeekendPicture(),
                                       FixedWidth(100), path.string())
                          .Joined());
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
            TPrintPDF pdf("Orvanta");
            CalendarRequest request{1, 2010, weekStart, true};
            request.paper = paper;
            test::WriteWholeFile(pdfPath,
                                 WritePdfCalendar(pdf, request, EnglishNames(), WeekendPicture(),
                                                  FixedWidth(90), pdfPath.string())
                                     .Joined());
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
