#include <set>
#include <stdexcept>

#include "pdf_test_support.h"

namespace tessaly::test {
namespace {

std::string N(long long value) {
    return std::to_string(value);
}

struct ScaleCase {
    const char* name;
    std::int32_t pageWidth;
    std::int32_t pageHeight;
    ScreenResolution screen;
    int width;
    int height;
    const char* matrixLine;  // for a picture placed at (18, 100)
};

// The page width stands for 8 inches and its height for 10.625 inches of screen pixels;
// the box's sides are truncated and its top-left corner lands on the caller's point.
TEST_F(PdfWriterTest, PicturesAreScaledByPageAndScreen) {
    const ScaleCase cases[] = {
        {"calendar cell", 792, 612, {96, 96}, 105, 137, "108 0 0 82 18 430 cm"},
        {"portrait page", 612, 792, {96, 96}, 105, 137, "83 0 0 106 18 586 cm"},
        {"120 dpi", 792, 612, {120, 120}, 105, 137, "86 0 0 65 18 447 cm"},
        {"different axes", 792, 612, {144, 72}, 105, 137, "72 0 0 109 18 403 cm"},
        {"no usable screen", 792, 612, {0, -5}, 105, 137, "108 0 0 82 18 430 cm"},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.name);
        TPrintPDF pdf = Writer();
        pdf.Screen = c.screen;
        pdf.PageWidth = c.pageWidth;
        pdf.PageHeight = c.pageHeight;
        pdf.BeginDocument();
        pdf.DrawImage(18, 100, Bitmap24::Filled(c.width, c.height, 192, 192, 192));
        EXPECT_EQ(ContentOf(Finish(pdf)), CrLfLines({"q", c.matrixLine, "/Im1 Do", "Q"}));
    }
}

// A writer whose Screen is not set places pictures as at 96 dots per inch.
TEST_F(PdfWriterTest, ScreenIsReadAtEachPicture) {
    TPrintPDF pdf = Writer();
    pdf.BeginDocument();
    const Bitmap24 picture = Bitmap24::Filled(96, 96, 0, 0, 0);
    pdf.DrawImage(0, 0, picture);
    pdf.Screen = {192, 48};
    pdf.DrawImage(0, 0, picture);
    EXPECT_EQ(ContentOf(Finish(pdf)), CrLfLines({"q", "76 0 0 74 0 718 cm", "/Im1 Do", "Q",  //
                                                 "q", "38 0 0 149 0 643 cm", "/Im2 Do", "Q"}));
}

Bitmap24 Pixels(int width, int height, std::vector<std::uint8_t> rgb) {
    return Bitmap24{width, height, std::move(rgb)};
}

// The document's layout around N pictures: numbering, references, the table, and each
// picture object with its samples as given.
TEST_F(PdfWriterTest, PicturesFollowTheResourceDictionary) {
    const std::vector<Bitmap24> twelveCells(12, Bitmap24::Filled(105, 137, 192, 192, 192));
    const std::vector<Bitmap24> cases[] = {
        {},
        {Pixels(1, 1, {255, 0, 0})},
        {Pixels(2, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3}), Pixels(0, 0, {}),
         Pixels(3, 0, {}), Pixels(0, 3, {}), Pixels(1, 1, {255, 0, 0})},
        twelveCells,
    };
    for (const std::vector<Bitmap24>& pictures : cases) {
        const long long n = static_cast<long long>(pictures.size());
        SCOPED_TRACE(N(n) + " pictures");
        TPrintPDF pdf = Writer();
        pdf.BeginDocument();
        std::string content;
        for (std::size_t m = 1; m <= pictures.size(); ++m) {
            pdf.DrawImage(10, 20, pictures[m - 1]);
            const Bitmap24& p = pictures[m - 1];
            content += CrLfLines({"q", N(p.width * 612 / 768) + " 0 0 " + N(p.height * 792 / 1020) +
                                           " 10 " + N(772 - p.height * 792 / 1020) + " cm"});
            // A picture without pixels keeps its object but is not drawn.
            content += p.rgb.empty() ? CrLfLines({"Q"}) : CrLfLines({"/Im" + N(m) + " Do", "Q"});
        }
        const std::string bytes = Finish(pdf);
        // The bytes of memory the handed spans cover: the same pixels placed again are not
        // copied again.
        std::size_t held = 0;
        std::set<const char*> seen;
        for (const std::string_view span : handed_.spans()) {
            held += !span.empty() && seen.insert(span.data()).second ? span.size() : 0;
        }

        EXPECT_EQ(ContentOf(bytes), content);
        std::set<std::vector<std::uint8_t>> distinct;
        std::size_t placed = 0;
        for (const Bitmap24& p : pictures) {
            placed += p.rgb.size();
            distinct.insert(p.rgb);
        }
        std::size_t kept = 0;
        for (const auto& rgb : distinct) {
            kept += rgb.size();
        }
        EXPECT_EQ(held, bytes.size() - placed + kept);
        EXPECT_EQ(ObjectText(bytes, 3), CrLfLines({"3 0 obj", N(content.size()), "endobj"}));
        EXPECT_EQ(ObjectText(bytes, 19),
                  CrLfLines({"19 0 obj", "<< /Type /Pages", "/Kids [", N(21 + n) + " 0 R", "]",
                             "/Count 1", ">>", "endobj"}));
        std::string resources =
            CrLfLines({"20 0 obj", "<< /ProcSet [ /PDF /Text /ImageC]", "/XObject << "});
        for (long long m = 1; m <= n; ++m) {
            resources += CrLfLines({"/Im" + N(m) + " " + N(20 + m) + " 0 R"});
        }
        resources +=
            CrLfLines({">>", "/Font << ", "/F1 5 0 R ", "/F2 6 0 R ", "/F3 7 0 R ", "/F4 8 0 R ",
                       "/F5 9 0 R ", "/F6 10 0 R ", "/F7 11 0 R ", "/F8 12 0 R ", "/F9 13 0 R ",
                       "/F10 14 0 R ", "/F11 15 0 R ", "/F12 16 0 R ", "/F13 17 0 R ",
                       "/F14 18 0 R ", ">>", ">>", "endobj"});
        EXPECT_EQ(ObjectText(bytes, 20), resources);
        for (long long m = 1; m <= n; ++m) {
            const Bitmap24& p = pictures[static_cast<std::size_t>(m - 1)];
            const std::string samples(p.rgb.begin(), p.rgb.end());
            EXPECT_EQ(ObjectText(bytes, static_cast<int>(20 + m)),
                      CrLfLines({N(20 + m) + " 0 obj", "<< /Type /XObject", "/Subtype /Image",
                                 "/Width " + N(p.width), "/Height " + N(p.height),
                                 "/ColorSpace /DeviceRGB", "/BitsPerComponent 8",
                                 "/Length " + N(3LL * p.width * p.height), "/Name /Im" + N(m), ">>",
                                 "stream"}) +
                          samples + CrLfLines({"", "endstream", "endobj"}))
                << "picture " << m;
        }
        EXPECT_EQ(ObjectText(bytes, static_cast<int>(21 + n)),
                  CrLfLines({N(21 + n) + " 0 obj", "<< /Type /Page", "/Parent 19 0 R",
                             "/MediaBox [ 0 0 612 792]", "/Contents 2 0 R", "/Resources 20 0 R",
                             ">>", "endobj"}));
        EXPECT_EQ(ObjectText(bytes, static_cast<int>(22 + n)),
                  CrLfLines({N(22 + n) + " 0 obj", "<< /Type /Catalog", "/Pages 19 0 R",
                             "/Outlines 4 0 R", ">>", "endobj"}));
        EXPECT_EQ(ObjectOffsets(bytes).size(), static_cast<std::size_t>(23 + n));
        const auto trailer = bytes.rfind("trailer\r\n");
        ASSERT_NE(trailer, std::string::npos);
        EXPECT_EQ(bytes.substr(trailer, bytes.rfind("startxref") - trailer),
                  CrLfLines({"trailer", "<< /Size " + N(23 + n), "/Root " + N(22 + n) + " 0 R",
                             "/Info 1 0 R", ">>"}));
    }
}

TEST_F(PdfWriterTest, MismatchedBitmapIsRejectedWithoutTrace) {
    TPrintPDF pdf = Writer();
    pdf.BeginDocument();
    EXPECT_THROW(pdf.DrawImage(0, 0, Pixels(2, 1, {1, 2, 3})), std::invalid_argument);
    EXPECT_THROW(pdf.DrawImage(0, 0, Pixels(-1, -1, {1, 2, 3})), std::invalid_argument);
    EXPECT_THROW(Bitmap24::Filled(-1, 3, 0, 0, 0), std::invalid_argument);
    const std::string bytes = Finish(pdf);
    EXPECT_EQ(ContentOf(bytes), "");
    EXPECT_EQ(ObjectOffsets(bytes).size(), 23u);
}

}  // namespace
}  // namespace tessaly::test
