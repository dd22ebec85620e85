#include <clocale>
#include <cstdlib>
#include <stdexcept>

#include "core/errors.h"
#include "pdf_test_support.h"

namespace tessaly::test {
namespace {

// Golden files are laid out object by object.
// clang-format off
const std::string kFontObjects = CrLfLines({
    "5 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F1", "/BaseFont /Helvetica",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "6 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F2", "/BaseFont /Helvetica-Bold",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "7 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F3", "/BaseFont /Helvetica-Oblique",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "8 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F4", "/BaseFont /Helvetica-BoldOblique",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "9 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F5", "/BaseFont /Courier",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "10 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F6", "/BaseFont /Courier-Bold",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "11 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F7", "/BaseFont /Courier-Oblique",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "12 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F8", "/BaseFont /Courier-BoldOblique",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "13 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F9", "/BaseFont /Times-Roman",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "14 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F10", "/BaseFont /Times-Bold",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "15 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F11", "/BaseFont /Times-Italic",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "16 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F12", "/BaseFont /Times-BoldItalic",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "17 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F13", "/BaseFont /Symbol",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
    "18 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F14", "/BaseFont /ZapfDingbats",
        "/Encoding /WinAnsiEncoding", ">>", "endobj",
});

const std::string kFontResources = CrLfLines({
    "/Font << ", "/F1 5 0 R ", "/F2 6 0 R ", "/F3 7 0 R ", "/F4 8 0 R ", "/F5 9 0 R ",
        "/F6 10 0 R ", "/F7 11 0 R ",
    "/F8 12 0 R ", "/F9 13 0 R ", "/F10 14 0 R ", "/F11 15 0 R ", "/F12 16 0 R ", "/F13 17 0 R ",
        "/F14 18 0 R ", ">>",
});

TEST_F(PdfWriterTest, EmptyDocumentIsExactly3047Bytes) {
    TPrintPDF pdf(Services());
    pdf.Author = pdf.Creator = pdf.Producer = "";
    pdf.BeginDocument();
    const std::string bytes = Finish(pdf);

    const std::string expected =
        CrLfLines({
            "%PDF-1.4",
            "1 0 obj", "<<", "/Producer ()", "/Author ()", "/CreationDate (D:20260405130709)",
                "/Creator ()", "/Keywords ()",
                "/Subject ()", "/Title ()", "/ModDate ()", ">>", "endobj",
            "2 0 obj", "<< /Length 3 0 R", " >>", "stream", "endstream", "endobj",
            "3 0 obj", "0", "endobj",
            "4 0 obj", "<< /Type /Outlines", "/Count 0", ">>", "endobj",
        }) +
        kFontObjects +
        CrLfLines({
            "19 0 obj", "<< /Type /Pages", "/Kids [", "21 0 R", "]", "/Count 1", ">>", "endobj",
            "20 0 obj", "<< /ProcSet [ /PDF /Text /ImageC]", "/XObject << ", ">>",
        }) +
        kFontResources +
        CrLfLines({
            ">>", "endobj",
            "21 0 obj", "<< /Type /Page", "/Parent 19 0 R", "/MediaBox [ 0 0 612 792]",
                "/Contents 2 0 R", "/Resources 20 0 R", ">>", "endobj",
            "22 0 obj", "<< /Type /Catalog", "/Pages 19 0 R", "/Outlines 4 0 R", ">>", "endobj",
            "xref",
            "0 23",
            "0000000000 65535 f",
            "0000000010 00000 n", "0000000159 00000 n", "0000000218 00000 n", "0000000238 00000 n",
                "0000000289 00000 n",
            "0000000404 00000 n", "0000000524 00000 n", "0000000647 00000 n", "0000000774 00000 n",
                "0000000887 00000 n",
            "0000001006 00000 n", "0000001128 00000 n", "0000001254 00000 n", "0000001372 00000 n",
                "0000001490 00000 n",
            "0000001610 00000 n", "0000001734 00000 n", "0000001848 00000 n", "0000001968 00000 n",
                "0000002037 00000 n",
            "0000002309 00000 n", "0000002425 00000 n",
            "trailer", "<< /Size 23", "/Root 22 0 R", "/Info 1 0 R", ">>",
            "startxref", "2498",
            "%%EOF",
        });
    EXPECT_EQ(bytes.size(), 3047u);
    EXPECT_EQ(bytes, expected);
}

// A line, a text and the calendar's silver weekend picture on the calendar's landscape page.
TEST_F(PdfWriterTest, WorkedExampleDocumentIsExactBytes) {
    TPrintPDF pdf(Services());
    pdf.TITLE = "Plan :-)";
    pdf.PageWidth = 792;
    pdf.PageHeight = 612;
    pdf.Font.Face = 1;
    pdf.Font.Size = 16;
    pdf.BeginDocument();
    pdf.DrawLine(12, 12, 12, 600);
    pdf.DrawText(24, 120, "1");
    pdf.DrawImage(18, 100, Bitmap24::Filled(105, 137, 192, 192, 192));
    const std::string bytes = Finish(pdf);

    const std::string expected =
        CrLfLines({
            "%PDF-1.4",
            "1 0 obj", "<<", "/Producer (Orvanta)", "/Author (Orvanta)",
                "/CreationDate (D:20260405130709)", "/Creator (Orvanta)",
                "/Keywords ()", "/Subject ()", "/Title (Plan :-\\))", "/ModDate ()", ">>", "endobj",
            "2 0 obj", "<< /Length 3 0 R", " >>", "stream",
                "12 600 m", "12 12 l", "1 w", "S",
                "BT", "/F2 16 Tf", "24 492 Td", "(1) Tj", "ET",
                "q", "108 0 0 82 18 430 cm", "/Im1 Do", "Q",
                "endstream", "endobj",
            "3 0 obj", "102", "endobj",
            "4 0 obj", "<< /Type /Outlines", "/Count 0", ">>", "endobj",
        }) +
        kFontObjects +
        CrLfLines({
            "19 0 obj", "<< /Type /Pages", "/Kids [", "22 0 R", "]", "/Count 1", ">>", "endobj",
            "20 0 obj", "<< /ProcSet [ /PDF /Text /ImageC]", "/XObject << ", "/Im1 21 0 R", ">>",
        }) +
        kFontResources +
        CrLfLines({
            ">>", "endobj",
            "21 0 obj", "<< /Type /XObject", "/Subtype /Image", "/Width 105", "/Height 137",
                "/ColorSpace /DeviceRGB",
                "/BitsPerComponent 8", "/Length 43155", "/Name /Im1", ">>", "stream",
        }) +
        std::string(43155, '\xC0') +
        CrLfLines({
                "", "endstream", "endobj",
            "22 0 obj", "<< /Type /Page", "/Parent 19 0 R", "/MediaBox [ 0 0 792 612]",
                "/Contents 2 0 R", "/Resources 20 0 R", ">>", "endobj",
            "23 0 obj", "<< /Type /Catalog", "/Pages 19 0 R", "/Outlines 4 0 R", ">>", "endobj",
            "xref",
            "0 24",
            "0000000000 65535 f",
            "0000000010 00000 n", "0000000189 00000 n", "0000000350 00000 n", "0000000372 00000 n",
                "0000000423 00000 n",
            "0000000538 00000 n", "0000000658 00000 n", "0000000781 00000 n", "0000000908 00000 n",
                "0000001021 00000 n",
            "0000001140 00000 n", "0000001262 00000 n", "0000001388 00000 n", "0000001506 00000 n",
                "0000001624 00000 n",
            "0000001744 00000 n", "0000001868 00000 n", "0000001982 00000 n", "0000002102 00000 n",
                "0000002171 00000 n",
            "0000002456 00000 n", "0000045787 00000 n", "0000045903 00000 n",
            "trailer", "<< /Size 24", "/Root 23 0 R", "/Info 1 0 R", ">>",
            "startxref", "45976",
            "%%EOF",
        });
    EXPECT_EQ(bytes, expected);
}
// clang-format on

TEST_F(PdfWriterTest, CreationDateHasFourteenDigits) {
    const std::pair<LocalDateTime, const char*> cases[] = {
        {{2026, 4, 5, 13, 7, 9}, "20260405130709"},
        {{2000, 1, 1, 0, 0, 0}, "20000101000000"},
        {{999, 12, 31, 23, 59, 59}, "09991231235959"},
    };
    for (const auto& [moment, digits] : cases) {
        PdfWriterServices services = Services();
        services.now = [moment = moment] { return moment; };
        TPrintPDF pdf(services);
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
        TPrintPDF pdf(Services());
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
        TPrintPDF pdf(Services());
        pdf.Compress = compress;
        pdf.BeginDocument();
        DrawSamplePage(pdf);
        return Finish(pdf, name);
    };
    EXPECT_EQ(write(true, "compressed.pdf"), write(false, "plain.pdf"));
}

TEST_F(PdfWriterTest, NextDocumentStartsAfresh) {
    TPrintPDF fresh(Services());
    EXPECT_EQ(fresh.PageNumber(), 0);
    fresh.BeginDocument();
    EXPECT_EQ(fresh.PageNumber(), 1);
    const std::string freshBytes = Finish(fresh, "fresh.pdf");

    TPrintPDF reused(Services());
    reused.BeginDocument();
    DrawSamplePage(reused);
    Finish(reused, "first.pdf");
    reused.BeginDocument();
    EXPECT_EQ(reused.PageNumber(), 1);
    EXPECT_EQ(Finish(reused, "second.pdf"), freshBytes);
}

TEST_F(PdfWriterTest, FailedSaveLeavesNoFileAndPropagates) {
    const std::string missingFolder = (folder_.path() / "missing" / "out.pdf").string();
    std::filesystem::create_directory(folder_.path() / "taken.pdf");
    const std::string directory = (folder_.path() / "taken.pdf").string();
    for (const std::string& target : {missingFolder, directory}) {
        TPrintPDF pdf(Services());
        pdf.FileName = target;
        pdf.BeginDocument();
        DrawSamplePage(pdf);
        try {
            pdf.EndDocument();
            ADD_FAILURE() << "saving to " << target << " succeeded";
        } catch (const FileCreateError& error) {
            EXPECT_STREQ(error.what(), ("Cannot create file " + target).c_str());
        }
        EXPECT_EQ(folder_.entries(), std::vector<std::string>{"taken.pdf"});
    }

    // Whatever the save function throws reaches the caller unchanged.
    PdfWriterServices services = Services();
    services.save = [](const std::string&, std::string_view) { throw TessalyError("Disk full"); };
    TPrintPDF pdf(services);
    pdf.BeginDocument();
    EXPECT_THROW(
        {
            try {
                pdf.EndDocument();
            } catch (const TessalyError& error) {
                EXPECT_STREQ(error.what(), "Disk full");
                throw;
            }
        },
        TessalyError);
}

// Pictures wait in memory, not in files of the current folder, and an unfinished
// document is never saved.
TEST_F(PdfWriterTest, OnlyEndDocumentWritesAFile) {
    struct WorkInFolder {
        explicit WorkInFolder(const std::filesystem::path& folder) {
            std::filesystem::current_path(folder);
        }
        ~WorkInFolder() { std::filesystem::current_path(previous); }
        std::filesystem::path previous = std::filesystem::current_path();
    } workInFolder(folder_.path());
    int saves = 0;
    PdfWriterServices services = Services();
    services.save = [&saves](const std::string& path, std::string_view bytes) {
        ++saves;
        SaveFileAtomically(path, bytes, "Cannot write file " + path);
    };
    {
        TPrintPDF pdf(services);
        pdf.FileName = "unfinished.pdf";
        pdf.BeginDocument();
        DrawSamplePage(pdf);
        DrawSamplePage(pdf);
        EXPECT_EQ(folder_.entries(), std::vector<std::string>{});
    }
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(folder_.entries(), std::vector<std::string>{});

    TPrintPDF pdf(services);
    pdf.FileName = "finished.pdf";
    pdf.BeginDocument();
    DrawSamplePage(pdf);
    pdf.EndDocument();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(folder_.entries(), std::vector<std::string>{"finished.pdf"});
}

TEST(PdfWriterUse, CallsOutsideADocumentAreRejected) {
    PdfWriterServices services{
        [] { return kMoment; }, {}, [](const std::string&, std::string_view) {}};
    TPrintPDF pdf(services);
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

    EXPECT_THROW(TPrintPDF(PdfWriterServices{{}, {}, services.save}), std::invalid_argument);
    EXPECT_THROW(TPrintPDF(PdfWriterServices{services.now, {}, {}}), std::invalid_argument);
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
