#include <cstdint>
#include <functional>
#include <limits>

#include "pdf_test_support.h"

namespace tessaly::test {
namespace {

struct DrawingCase {
    const char* name;
    std::int32_t pageWidth;
    std::int32_t pageHeight;
    std::function<void(TPrintPDF&)> draw;
    std::string content;
};

TEST_F(PdfWriterTest, DrawingCallsGiveTheirContentLines) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const DrawingCase cases[] = {
        {"worked example", 792, 612,
         [](TPrintPDF& pdf) {
             pdf.Font.Face = 1;
             pdf.Font.Size = 16;
             pdf.DrawLine(12, 12, 12, 600);
             pdf.DrawText(24, 120, "1");
         },
         CrLfLines(
             {"12 600 m", "12 12 l", "1 w", "S", "BT", "/F2 16 Tf", "24 492 Td", "(1) Tj", "ET"})},
        {"top and bottom edges", 612, 792, [](TPrintPDF& pdf) { pdf.DrawLine(0, 0, 5, 792); },
         CrLfLines({"0 792 m", "5 0 l", "1 w", "S"})},
        {"below the page and negative", 612, 792,
         [](TPrintPDF& pdf) { pdf.DrawLine(-5, 800, -1, -3); },
         CrLfLines({"-5 -8 m", "-1 795 l", "1 w", "S"})},
        {"32-bit extremes do not overflow", 612, 792,
         [=](TPrintPDF& pdf) { pdf.DrawLine(kMin, kMin, kMax, kMax); },
         CrLfLines({"-2147483648 2147484440 m", "2147483647 -2147482855 l", "1 w", "S"})},
        {"numbers of every length around a thousand", 612, 1000,
         [](TPrintPDF& pdf) {
             pdf.DrawLine(9, 1, 99, 0);
             pdf.DrawRectangle(10, 900, 100, 1);
         },
         CrLfLines({"9 999 m",   "99 1000 l", "1 w", "S", "10 100 m",  "10 999 l",  "1 w", "S",
                    "10 999 m",  "100 999 l", "1 w", "S", "100 999 m", "100 100 l", "1 w", "S",
                    "100 100 m", "10 100 l",  "1 w", "S"})},
        {"width read at each line", 612, 792,
         [](TPrintPDF& pdf) {
             pdf.LineWidth = 3;
             pdf.DrawLine(1, 2, 3, 4);
             pdf.LineWidth = 0;
             pdf.DrawLine(1, 2, 3, 4);
         },
         CrLfLines({"1 790 m", "3 788 l", "3 w", "S", "1 790 m", "3 788 l", "0 w", "S"})},
        {"calendar frame", 792, 612, [](TPrintPDF& pdf) { pdf.DrawRectangle(12, 12, 780, 600); },
         CrLfLines({"12 600 m", "12 12 l", "1 w", "S", "12 12 m", "780 12 l", "1 w", "S",
                    "780 12 m", "780 600 l", "1 w", "S", "780 600 m", "12 600 l", "1 w", "S"})},
        {"rectangle of one point", 612, 792, [](TPrintPDF& pdf) { pdf.DrawRectangle(5, 5, 5, 5); },
         CrLfLines({"5 787 m", "5 787 l", "1 w", "S", "5 787 m", "5 787 l", "1 w", "S", "5 787 m",
                    "5 787 l", "1 w", "S", "5 787 m", "5 787 l", "1 w", "S"})},
        // Grey levels are thousandths of white; drawing after it is black again.
        {"filled rectangles", 792, 612,
         [](TPrintPDF& pdf) {
             pdf.FillRectangle(18, 100, 126, 182, 192);
             pdf.FillRectangle(30, 20, 10, 5, 0);
             pdf.FillRectangle(0, 0, 792, 612, 255);
             pdf.FillRectangle(1, 2, 3, 4, 1);
         },
         CrLfLines({"q", "0.753 g", "18 430 108 82 re", "f", "Q",  //
                    "q", "0.000 g", "10 592 20 15 re",  "f", "Q",  //
                    "q", "1 g",     "0 0 792 612 re",   "f", "Q",  //
                    "q", "0.004 g", "1 608 2 2 re",     "f", "Q"})},
        {"font read at each text", 612, 792,
         [](TPrintPDF& pdf) {
             pdf.DrawText(10, 20, "Courier");
             pdf.Font.Face = 0;
             pdf.Font.Size = 36;
             pdf.DrawText(10, 60, "");
             pdf.Font.Face = 13;
             pdf.Font.Size = 8;
             pdf.DrawText(-10, 900, "4");
         },
         CrLfLines({"BT", "/F5 12 Tf", "10 772 Td", "(Courier) Tj", "ET",  //
                    "BT", "/F1 36 Tf", "10 732 Td", "() Tj", "ET",         //
                    "BT", "/F14 8 Tf", "-10 -108 Td", "(4) Tj", "ET"})},
    };
    for (const DrawingCase& c : cases) {
        SCOPED_TRACE(c.name);
        TPrintPDF pdf = Writer();
        pdf.PageWidth = c.pageWidth;
        pdf.PageHeight = c.pageHeight;
        pdf.BeginDocument();
        c.draw(pdf);
        const std::string bytes = Finish(pdf);
        EXPECT_EQ(ContentOf(bytes), c.content);
        // Object 3 holds the content's length.
        EXPECT_EQ(ObjectText(bytes, 3),
                  CrLfLines({"3 0 obj", std::to_string(c.content.size()), "endobj"}));
    }
}

// Every string literal escapes what would end it or change its meaning.
TEST_F(PdfWriterTest, StringsAreEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {"Plan :-)", "Plan :-\\)"},
        {"(a(b)c)", "\\(a\\(b\\)c\\)"},
        {")(", "\\)\\("},
        {"C:\\dir\\", "C:\\\\dir\\\\"},
        {"a\rb", "a\\015b"},
        {"\n\t", "\\012\\011"},
        {"\x01\x1F", "\\001\\037"},
        {std::string("a\0b", 3), "a\\000b"},
        {"\x7F", "\\177"},
        {"", ""},
        {"\x80\xE9\xFF \xA0", "\x80\xE9\xFF \xA0"},
    };
    for (const auto& [text, escaped] : cases) {
        SCOPED_TRACE(::testing::PrintToString(text));
        TPrintPDF pdf = Writer();
        pdf.TITLE = pdf.Author = pdf.Creator = pdf.Keywords = pdf.Subject = pdf.Producer = text;
        pdf.BeginDocument();
        pdf.DrawText(10, 20, text);
        const std::string bytes = Finish(pdf);
        const std::string literal = "(" + escaped + ")";
        EXPECT_EQ(ObjectText(bytes, 1),
                  CrLfLines({"1 0 obj", "<<", "/Producer " + literal, "/Author " + literal,
                             "/CreationDate (D:20260405130709)", "/Creator " + literal,
                             "/Keywords " + literal, "/Subject " + literal, "/Title " + literal,
                             "/ModDate ()", ">>", "endobj"}));
        EXPECT_EQ(ContentOf(bytes),
                  CrLfLines({"BT", "/F5 12 Tf", "10 772 Td", literal + " Tj", "ET"}));
    }
}

// What a viewer reads back is the text that was drawn.
TEST_F(PdfWriterTest, EscapedTextReadsBackUnchanged) {
    TPrintPDF pdf = Writer();
    pdf.BeginDocument();
    pdf.DrawText(10, 20, "Plan :-) C:\\x (a)) ((b \xE9t\xE9");
    Finish(pdf);
    if (const auto text = ExtractedText(folder_.path() / "test.pdf")) {
        EXPECT_EQ(*text, "Plan :-) C:\\x (a)) ((b \xC3\xA9t\xC3\xA9\n\n\f");
    }
}

}  // namespace
}  // namespace tessaly::test
