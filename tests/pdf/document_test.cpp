#include <clocale>
#include <cstdlib>
#include <stdexcept>

#include "pdf_test_support.h"
#include "support/golden.h"

namespace tessaly::test {
namespace {

TEST_F(PdfWriterTest, EmptyDocumentIsExactly3047Bytes) {
    TPrintPDF pdf = Writer();
    pdf.Author = pdf.Creator = pdf.Producer = "";
    pdf.BeginDocument();
    const std::string bytes = Finish(pdf);
    EXPECT_EQ(bytes.size(), 3047u);
    EXPECT_TRUE(MatchesGolden(bytes, "empty-document.pdf"));
}

// A line, a text and the calendar's silver weekend picture on the calendar's landscape page.
TEST_F(PdfWriterTest, WorkedExampleDocumentIsExactBytes) {
    TPrintPDF pdf = Writer();
    pdf.TITLE = "Plan :-)";
    pdf.PageWidth = 792;
    pdf.PageHeight = 612;
    pdf.Font.Face = 1;
    pdf.Font.Size = 16;
    pdf.BeginDocument();
    pdf.DrawLine(12, 12, 12, 600);
    pdf.DrawText(24, 120, "1");
    pdf.DrawImage(18, 100, Bitmap24::Filled(105, 137, 192, 192, 192));
    EXPECT_TRUE(MatchesGolden(Finish(pdf), "worked-example.pdf"));
}

TEST_F(PdfWriterTest, CreationDateHasFourteenDigits) {
    const std::pair<LocalDateTime, const char*> cases[] = {
        {{2026, 4, 5, 13, 7, 9}, "20260405130709"},
        {{2000, 1, 1, 0, 0, 0}, "20000101000000"},
        {{999, 12, 31, 23, 59, 59}, "09991231235959"},
    };
    for (const auto& [moment, digits] : cases) {
        TPrintPDF pdf(kMaker);
        pdf.CreationDate = moment;
        pdf.BeginDocument();
        const std::string bytes = Finish(pdf);
        EXPECT_EQ(
            ObjectText(bytes, 1),
            CrLfLines({"1 0 obj", "<<", "/Producer (Orvanta)", "/Author (Orvanta)",
                       std::string("/CreationDate (D:") + digits + ")", "/Creator (Orvanta)",
                       "/Keywords ()", "/Subject ()", "/Title ()", "/ModDate ()", ">>", "endobj"}));
    }
}

// Draws the same page into `pdf`, with everything a document can hold.
void DrawSamplePage(TPrintPDF& pdf) {
    pdf.DrawRectangle(12, 12, 600, 780);
    pdf.DrawText(40, 60, "May 2026");
    pdf.DrawImage(18, 100, Bitmap24::Filled(4, 3, 10, 20, 30));
}

TEST_F(PdfWriterTest, DocumentPropertiesCountOnlyBeforeBeginDocument) {
    const auto write = [this](bool changeAfterwards, const std::string& name) {
        TPrintPDF pdf = Writer();
        pdf.TITLE = "Title";
        pdf.Author = "Author";
        pdf.Keywords = "Keywords";
        pdf.BeginDocument();
        if (changeAfterwards) {
            pdf.TITLE = "Other title";
            pdf.Author = "Other author";
            pdf.Creator = "Other creator";
            pdf.Keywords = "Other keywords";
            pdf.Subject = "Other subject";
            pdf.Producer = "Other producer";
        }
        DrawSamplePage(pdf);
        return Finish(pdf, name);
    };
    EXPECT_EQ(write(true, "changed.pdf"), write(false, "unchanged.pdf"));
}

TEST_F(PdfWriterTest, CompressChangesNothing) {
    const auto write = [this](bool compress, const std::string& name) {
        TPrintPDF pdf = Writer();
        pdf.Compress = compress;
        pdf.BeginDocument();
        DrawSamplePage(pdf);
        return Finish(pdf, name);
    };
    EXPECT_EQ(write(true, "compressed.pdf"), write(false, "plain.pdf"));
}

TEST_F(PdfWriterTest, NextDocumentStartsAfresh) {
    TPrintPDF fresh = Writer();
    EXPECT_EQ(fresh.PageNumber(), 0);
    fresh.BeginDocument();
    EXPECT_EQ(fresh.PageNumber(), 1);
    const std::string freshBytes = Finish(fresh, "fresh.pdf");

    TPrintPDF reused = Writer();
    reused.BeginDocument();
    DrawSamplePage(reused);
    Finish(reused, "first.pdf");
    reused.BeginDocument();
    EXPECT_EQ(reused.PageNumber(), 1);
    EXPECT_EQ(Finish(reused, "second.pdf"), freshBytes);
}

// Pictures wait in memory, not in files of the current folder, and the finished
// document is handed back, not saved under its FileName.
TEST_F(PdfWriterTest, TheWriterWritesNoFile) {
    struct WorkInFolder {
        explicit WorkInFolder(const std::filesystem::path& folder) {
            std::filesystem::current_path(folder);
        }
        ~WorkInFolder() { std::filesystem::current_path(previous); }
        std::filesystem::path previous = std::filesystem::current_path();
    } workInFolder(folder_.path());
    {
        TPrintPDF pdf = Writer();
        pdf.FileName = "unfinished.pdf";
        pdf.BeginDocument();
        DrawSamplePage(pdf);
        DrawSamplePage(pdf);
        EXPECT_EQ(folder_.entries(), std::vector<std::string>{});
    }
    EXPECT_EQ(folder_.entries(), std::vector<std::string>{});

    TPrintPDF pdf = Writer();
    pdf.FileName = "finished.pdf";
    pdf.BeginDocument();
    DrawSamplePage(pdf);
    EXPECT_TRUE(pdf.EndDocument().Joined().starts_with("%PDF-1.4\r\n"));
    EXPECT_EQ(folder_.entries(), std::vector<std::string>{});
}

// Each page has a content stream of its own, after the one before; the pages share the
// fonts and the pictures, and a picture added once is one object wherever it is drawn.
TEST_F(PdfWriterTest, PagesHaveTheirOwnContentsAndShareOnePictureObject) {
    TPrintPDF pdf = Writer();
    pdf.PageWidth = 792;
    pdf.PageHeight = 612;
    pdf.BeginDocument();
    const std::int32_t silver = pdf.AddPicture(Bitmap24::Filled(105, 137, 192, 192, 192));
    const std::vector<std::string> texts = {"one", "two", "three"};
    for (std::size_t page = 0; page < texts.size(); ++page) {
        if (page > 0) {
            pdf.NewPage();
        }
        pdf.DrawText(24, 60, texts[page]);
        if (page == 1) {
            pdf.DrawImage(18, 100, Bitmap24::Filled(1, 1, 255, 0, 0));  // an object of its own
        } else {
            pdf.DrawPicture(18, 100, silver);
        }
    }
    EXPECT_EQ(pdf.PageNumber(), 3);
    EXPECT_THROW(pdf.DrawPicture(0, 0, 3), std::out_of_range);
    const std::string bytes = Finish(pdf);

    // Contents 2, 4, 6 with their lengths; outline 8, fonts 9-22, page tree 23, resources
    // 24, pictures 25-26, pages 27-29, catalog 30.
    EXPECT_EQ(ObjectText(bytes, 23),
              CrLfLines({"23 0 obj", "<< /Type /Pages", "/Kids [", "27 0 R", "28 0 R", "29 0 R",
                         "]", "/Count 3", ">>", "endobj"}));
    for (int page = 0; page < 3; ++page) {
        const std::string number = std::to_string(27 + page);
        const std::string contents = std::to_string(2 + 2 * page);
        EXPECT_EQ(ObjectText(bytes, 27 + page),
                  CrLfLines({number + " 0 obj", "<< /Type /Page", "/Parent 23 0 R",
                             "/MediaBox [ 0 0 792 612]", "/Contents " + contents + " 0 R",
                             "/Resources 24 0 R", ">>", "endobj"}));
        const std::string_view content = ObjectText(bytes, 2 + 2 * page);
        EXPECT_NE(content.find("(" + texts[page] + ") Tj"), std::string::npos) << content;
        EXPECT_NE(content.find(page == 1 ? "/Im2 Do" : "/Im1 Do"), std::string::npos);
    }
    EXPECT_NE(bytes.find("/Outlines 8 0 R"), std::string::npos);
    EXPECT_NE(bytes.find("trailer\r\n<< /Size 31\r\n/Root 30 0 R"), std::string::npos);
    EXPECT_NE(ObjectText(bytes, 25).find("/Width 105\r\n"), std::string::npos);
    EXPECT_NE(ObjectText(bytes, 26).find("/Width 1\r\n"), std::string::npos);
    if (const auto text = ExtractedText(folder_.path() / "test.pdf")) {
        EXPECT_EQ(*text, "one\n\n\ftwo\n\n\fthree\n\n\f");
    }
}

TEST(PdfWriterUse, CallsOutsideADocumentAreRejected) {
    TPrintPDF pdf(kMaker);
    const Bitmap24 pixel = Bitmap24::Filled(1, 1, 0, 0, 0);
    EXPECT_THROW(pdf.DrawLine(0, 0, 1, 1), std::logic_error);
    EXPECT_THROW(pdf.DrawRectangle(0, 0, 1, 1), std::logic_error);
    EXPECT_THROW(pdf.DrawText(0, 0, "x"), std::logic_error);
    EXPECT_THROW(pdf.DrawImage(0, 0, pixel), std::logic_error);
    EXPECT_THROW(pdf.EndDocument(), std::logic_error);
    pdf.BeginDocument();
    pdf.EndDocument();
    EXPECT_THROW(pdf.DrawLine(0, 0, 1, 1), std::logic_error);
    EXPECT_THROW(pdf.EndDocument(), std::logic_error);
}

// The second ctest run sets LC_ALL=de_DE.UTF-8; make sure it really took effect, or that
// run would prove nothing.
TEST(PdfWriterLocale, CommaDecimalLocaleIsActiveWhenAsked) {
    const char* requested = std::getenv("LC_ALL");
    if (requested == nullptr || std::string_view(requested).substr(0, 5) != "de_DE") {
        GTEST_SKIP() << "runs only under LC_ALL=de_DE.UTF-8";
    }
    EXPECT_STREQ(std::localeconv()->decimal_point, ",")
        << "locale " << requested << " is not installed";
}

}  // namespace
}  // namespace tessaly::test
