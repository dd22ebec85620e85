// tessaly-cli.exe --locale for each script its PDF draws in an embedded face: the names
// Windows gives (as Wine has them from CLDR) come out whole, in an embedded TrueType
// face, and the file passes the outside checks. The test prefix holds Liberation Sans
// (Cyrillic, Greek), DejaVu Sans (Hebrew, Arabic) and WenQuanYi Micro Hei, a face of a
// TrueType collection (Japanese).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <regex>

#include "cli/cli_run.h"
#include "core/winansi.h"
#include "support/host_command.h"
#include "support/pdf_checks.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

// The letters of a text: no blanks, no marks of writing direction.
std::u32string Letters(const std::string& text) {
    std::u32string letters = Utf8ToCodePointsReplacing(text);
    std::erase_if(letters, [](char32_t c) {
        return c == U' ' || c == U'\n' || c == U'\f' || (c >= 0x200E && c <= 0x200F) ||
               (c >= 0x202A && c <= 0x202E);
    });
    return letters;
}

struct LocaleCase {
    const char* locale;
    const char* face;  // the embedded subset's font name after its tag
    const char* title;
    std::array<const char*, 7> days;  // Monday first
    // pdftotext reads the columns of a right-to-left page from the right, and a
    // ligature's letters (Arabic lam-alef) backwards: there the letters count, not
    // their order.
    bool rightToLeft = false;
};

TEST(LocalizedPdf, NamesOfEveryScriptReachThePdf) {
    const LocaleCase cases[] = {
        {"ru-RU",
         "LiberationSans-Bold",
         "декабрь 2026",
         {"понедельник", "вторник", "среда", "четверг", "пятница", "суббота", "воскресенье"}},
        {"el-GR",
         "LiberationSans-Bold",
         "Δεκέμβριος 2026",
         {"Δευτέρα", "Τρίτη", "Τετάρτη", "Πέμπτη", "Παρασκευή", "Σάββατο", "Κυριακή"}},
        {"he-IL",
         "LiberationSans-Bold",
         "דצמבר 2026",
         {"יום שני", "יום שלישי", "יום רביעי", "יום חמישי", "יום שישי", "יום שבת", "יום ראשון"},
         true},
        {"ar-EG",
         "DejaVuSans-Bold",
         "ديسمبر 2026",
         {"الاثنين", "الثلاثاء", "الأربعاء", "الخميس", "الجمعة", "السبت", "الأحد"},
         true},
        {"ja-JP",
         "WenQuanYiMicroHei",
         "12月 2026",
         {"月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日", "日曜日"}},
    };
    for (const LocaleCase& c : cases) {
        SCOPED_TRACE(c.locale);
        test::TempFolder folder;
        const auto pdf = folder.path() / "c.pdf";
        const auto run = test::RunCli(std::string("--pdf --month 12 --year 2026 --week-start "
                                                  "monday --locale ") +
                                      c.locale + " -o " + pdf.string());
        ASSERT_EQ(run.status, 0) << run.output;

        std::string names = c.title;
        for (const char* day : c.days) {
            names += day;
        }
        const auto text = test::ExtractedText(pdf);
        ASSERT_TRUE(text);
        std::u32string expected = Letters(names);
        std::u32string found = Letters(*text).substr(0, expected.size());
        if (c.rightToLeft) {
            std::sort(expected.begin(), expected.end());
            std::sort(found.begin(), found.end());
        }
        EXPECT_TRUE(found == expected) << *text;
        const std::string fonts = test::RunHostCommand("pdffonts " + test::HostPath(pdf)).output;
        EXPECT_TRUE(std::regex_search(fonts, std::regex(std::string("\n[A-Z]{6}\\+") + c.face +
                                                        "[-A-Za-z]* +CID TrueType +Identity-H +"
                                                        "yes +yes +yes ")))
            << fonts;
        EXPECT_EQ(test::OutsideCheckFailures(pdf), "");
    }
}

}  // namespace
}  // namespace tessaly
