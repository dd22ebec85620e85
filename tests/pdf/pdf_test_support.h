#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "pdf/print_pdf.h"
#include "platform/file_save.h"
#include "support/pdf_checks.h"
#include "support/test_files.h"

namespace tessaly::test {

inline constexpr LocalDateTime kMoment{2026, 4, 5, 13, 7, 9};
// The Author, Creator and Producer a writer starts with in these tests.
inline constexpr const char* kMaker = "Orvanta";

// Writers whose documents are saved into a folder of their own with the program's atomic
// save, then checked against the cross-reference table and the outside tools.
class PdfWriterTest : public ::testing::Test {
  protected:
    // A writer with the tests' maker and date, before its first document.
    static TPrintPDF Writer() {
        TPrintPDF pdf(kMaker);
        pdf.CreationDate = kMoment;
        return pdf;
    }

    std::string Finish(TPrintPDF& pdf, const std::string& name = "test.pdf") {
        const std::filesystem::path path = folder_.path() / name;
        handed_ = pdf.EndDocument();
        SaveFileAtomically(path.string(), handed_, "Cannot write file " + path.string());
        const std::string bytes = ReadWholeFile(path);
        EXPECT_EQ(bytes, pdf.FileBytes());
        EXPECT_EQ(CrossReferenceFailures(bytes), "");
        EXPECT_EQ(OutsideCheckFailures(path), "");
        return bytes;
    }

    TempFolder folder_;
    ByteSpans handed_ = "";  // what the last EndDocument handed over
};

// The page's content: the bytes of object 2 between its "stream" line and "endstream".
inline std::string ContentOf(std::string_view pdf) {
    constexpr std::string_view kHead = "2 0 obj\r\n<< /Length 3 0 R\r\n >>\r\nstream\r\n";
    constexpr std::string_view kTail = "endstream\r\nendobj\r\n";
    const std::string_view object = ObjectText(pdf, 2);
    if (object.size() < kHead.size() + kTail.size() || object.substr(0, kHead.size()) != kHead ||
        object.substr(object.size() - kTail.size()) != kTail) {
        ADD_FAILURE() << "object 2 is not a content stream: " << object;
        return {};
    }
    return std::string(object.substr(kHead.size(), object.size() - kHead.size() - kTail.size()));
}

}  // namespace tessaly::test
