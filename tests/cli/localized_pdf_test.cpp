// Localized PDF calendars made by tessaly-cli, looked at with the outside tools.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

#include "core/winansi.h"
#include "pdfcalendar/pdf_calendar.h"
#include "support/golden.h"
#include "support/pdf_checks.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

// December 2026 in the Monday layout, from process start to file.
const std::string kCalendar = "--pdf --month 12 --year 2026 --week-start monday ";

std::string RunTool(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t got = 0; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command << "\n" << output;
    return output;
}

bool HaveTools() {
    return std::system("pdftoppm -v >/dev/null 2>&1 && pdffonts -v >/dev/null 2>&1") == 0;
}

std::filesystem::path MakeCalendar(const std::filesystem::path& folder, const std::string& locale,
                                   const std::string& options,
                                   const std::string& environment = "") {
    RunTool("env LC_ALL=" + locale + " SOURCE_DATE_EPOCH=1700000000 " + environment + " " +
            TESSALY_CLI_PATH + " " + kCalendar + options + " --output " + folder.string());
    return folder / "calendar.pdf";
}

std::string WithoutWhitespace(const std::string& text) {
    return std::regex_replace(text, std::regex("\\s+"), "");
}

// Dark pixels in a box of a 72-DPI grey render: one pixel a point.
int InkIn(const std::string& pgm, int left, int top, int width, int height) {
    const std::size_t header = std::string("P5\n792 612\n255\n").size();
    int dark = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            dark += static_cast<unsigned char>(pgm[header + 792 * y + x]) < 128 ? 1 : 0;
        }
    }
    return dark;
}

struct LocalizedCase {
    const char* locale;
    const char* face;  // the embedded subset's font name after its tag
    const char* title;
    std::array<const char*, 7> days;  // Monday first
};

void PrintTo(const LocalizedCase& c, std::ostream* os) {
    *os << c.locale;
}

class LocalizedPdf : public ::testing::TestWithParam<LocalizedCase> {};

// The locale's own names, extractable, in an embedded subset, accepted by qpdf, poppler
// and Ghostscript, and visibly drawn: ink under the title and every heading.
TEST_P(LocalizedPdf, ShowsTheLocalesNamesInAnEmbeddedSubset) {
    const LocalizedCase& c = GetParam();
    if (!HaveTools()) {
        GTEST_SKIP() << "poppler-utils is not installed";
    }
    test::TempFolder folder;
    const auto pdf = MakeCalendar(folder.path(), c.locale, "--localized --color-weekends");

    std::string names = c.title;
    for (const char* day : c.days) {
        names += day;
    }
    const auto text = test::ExtractedText(pdf);
    ASSERT_TRUE(text);
    EXPECT_EQ(WithoutWhitespace(*text).substr(0, WithoutWhitespace(names).size()),
              WithoutWhitespace(names))
        << *text;

    const std::string fonts = RunTool("pdffonts " + pdf.string());
    EXPECT_TRUE(std::regex_search(fonts, std::regex(std::string("\n[A-Z]{6}\\+") + c.face +
                                                    " +CID (TrueType|Type 0C) +Identity-H +"
                                                    "yes +yes +yes ")))
        << fonts;
    EXPECT_EQ(test::OutsideCheckFailures(pdf), "");
    EXPECT_LT(std::filesystem::file_size(pdf), 600u * 1024);

    const auto page = folder.path() / "page";
    RunTool("pdftoppm -r 72 -gray -singlefile " + pdf.string() + " " + page.string());
    const std::string pgm = test::ReadWholeFile(page.string() + ".pgm");
    ASSERT_TRUE(pgm.starts_with("P5\n792 612\n255\n"));
    EXPECT_GT(InkIn(pgm, 100, 20, 592, 32), 100) << "title";
    for (int column = 0; column < 7; ++column) {
        EXPECT_GT(InkIn(pgm, 24 + 108 * column, 78, 50, 16), 20) << "heading " << column;
    }
}

INSTANTIATE_TEST_SUITE_P(
    December2026, LocalizedPdf,
    ::testing::Values(
        LocalizedCase{"sl_SI.UTF-8",
                      "LiberationSans-Bold",
                      "December 2026",
                      {"ponedeljek", "torek", "sreda", "četrtek", "petek", "sobota", "nedelja"}},
        LocalizedCase{
            "pl_PL.UTF-8",
            "LiberationSans-Bold",
            "Grudzień 2026",
            {"poniedziałek", "wtorek", "środa", "czwartek", "piątek", "sobota", "niedziela"}},
        LocalizedCase{"tr_TR.UTF-8",
                      "LiberationSans-Bold",
                      "Aralık 2026",
                      {"Pazartesi", "Salı", "Çarşamba", "Perşembe", "Cuma", "Cumartesi", "Pazar"}},
        LocalizedCase{
            "ru_RU.UTF-8",
            "LiberationSans-Bold",
            "Декабрь 2026",
            {"Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота", "Воскресенье"}},
        LocalizedCase{"el_GR.UTF-8",
                      "LiberationSans-Bold",
                      "Δεκέμβριος 2026",
                      {"Δευτέρα", "Τρίτη", "Τετάρτη", "Πέμπτη", "Παρασκευή", "Σάββατο", "Κυριακή"}},
        LocalizedCase{"ja_JP.UTF-8",
                      "NotoSansCJKjp-Bold",
                      "12月 2026",
                      {"月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日", "日曜日"}}),
    [](const auto& info) { return std::string(info.param.locale).substr(0, 2); });

// A locale's LC_TIME item as the C library's `locale` prints it, split at ';'.
std::vector<std::string> LocaleItem(const std::string& locale, const std::string& keyword) {
    std::string line = RunTool("LC_ALL=" + locale + " locale " + keyword);
    std::vector<std::string> items;
    line.erase(line.find_last_not_of('\n') + 1);
    for (std::size_t at = 0; at <= line.size();) {
        const std::size_t end = std::min(line.find(';', at), line.size());
        items.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return items;
}

// Copied out of the file, the title and each day name read as they are written: Arabic
// ligatures, Persian's ZERO WIDTH NON-JOINER and Thai's marks included. pdftotext reads
// them all; mutool, which leaves a right-to-left line as it is drawn, those that read
// left to right.
TEST(LocalizedPdfText, TitleAndDayNamesComeBackInReadingOrder) {
    if (!HaveTools()) {
        GTEST_SKIP() << "poppler-utils is not installed";
    }
    const bool haveMutool = std::system("mutool -v >/dev/null 2>&1") == 0;
    const std::pair<const char*, bool> locales[] = {{"ar_EG.UTF-8", false}, {"he_IL.UTF-8", false},
                                                    {"fa_IR.UTF-8", false}, {"th_TH.UTF-8", true},
                                                    {"ja_JP.UTF-8", true},  {"ru_RU.UTF-8", true}};
    for (const auto& [locale, leftToRight] : locales) {
        test::TempFolder folder;
        const auto pdf = MakeCalendar(folder.path(), "C", std::string("--locale ") + locale);
        std::vector<std::string> names = LocaleItem(locale, "day");
        names.push_back(LocaleItem(locale, "alt_mon").at(11) + " 2026");
        ASSERT_EQ(names.size(), 8u) << locale;
        std::vector<std::string> readers = {"pdftotext -q " + pdf.string() + " -"};
        if (leftToRight && haveMutool) {
            readers.push_back("mutool draw -q -F txt " + pdf.string());
        }
        for (const std::string& reader : readers) {
            // Long names run into the next column, and readers join them.
            const std::string text =
                WithoutWhitespace(test::WithoutDirectionMarks(RunTool(reader)));
            for (const std::string& name : names) {
                EXPECT_NE(text.find(WithoutWhitespace(name)), std::string::npos)
                    << locale << ", " << reader << ": " << name << " in\n"
                    << text;
            }
        }
        EXPECT_EQ(test::OutsideCheckFailures(pdf), "") << locale;
    }
}

// Names Windows-1252 holds keep the file they always gave, in the standard font: from
// the user's locale, as a range of one month, and from --locale in an English session.
TEST(LocalizedPdfFallback, FrenchIsByteForByteTheGolden) {
    for (const auto& [locale, options] : {std::pair{"fr_FR.UTF-8", "--localized"},
                                          std::pair{"fr_FR.UTF-8", "--localized --months 1"},
                                          std::pair{"C", "--locale fr_FR.UTF-8"}}) {
        test::TempFolder folder;
        EXPECT_TRUE(
            test::MatchesGolden(test::ReadWholeFile(MakeCalendar(folder.path(), locale, options)),
                                "december-2026-monday-french.pdf"))
            << locale << " " << options;
    }
}

// --locale gives the file the user's own locale gives, down to the regional glyph forms
// its language picks (Japanese, not Chinese, for the same characters).
TEST(LocalizedPdfFallback, LocaleOptionIsTheUsersLocaleGivenByName) {
    for (const char* locale : {"ja_JP.UTF-8", "ru_RU.UTF-8"}) {
        test::TempFolder asUser, byName;
        EXPECT_EQ(test::ReadWholeFile(
                      MakeCalendar(byName.path(), "C", std::string("--locale ") + locale)),
                  test::ReadWholeFile(MakeCalendar(asUser.path(), locale, "--localized")))
            << locale;
    }
}

// On A4 the title is centred by its own width: its ink sits evenly about the page's
// middle, in the standard font (Helvetica-Bold's widths) and in an embedded face.
TEST(A4Pdf, TitleIsCentredByItsOwnWidth) {
    if (!HaveTools()) {
        GTEST_SKIP() << "poppler-utils is not installed";
    }
    for (const char* locale : {"C", "de_DE.UTF-8", "ru_RU.UTF-8", "ja_JP.UTF-8"}) {
        test::TempFolder folder;
        const auto pdf = MakeCalendar(folder.path(), locale, "--localized --paper a4 --month 3");
        const auto page = folder.path() / "page";
        RunTool("pdftoppm -r 72 -gray -singlefile " + pdf.string() + " " + page.string());
        const std::string pgm = test::ReadWholeFile(page.string() + ".pgm");
        const std::string header = "P5\n842 595\n255\n";
        ASSERT_TRUE(pgm.starts_with(header));
        // The title's band, inside the frame's sides.
        int left = 842;
        int right = 0;
        for (int y = 18; y < 60; ++y) {
            for (int x = 20; x < 822; ++x) {
                if (static_cast<unsigned char>(pgm[header.size() + 842 * y + x]) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        EXPECT_NEAR((left + right + 1) / 2.0, 421.0, 2.5) << locale << ": " << left << "-" << right;
    }
}

// With no installed face that holds the names, the whole table is English: the very file
// an English calendar gives. A face that holds them is used even when it is the only one.
TEST(LocalizedPdfFallback, NamesNoFaceHoldsGiveTheEnglishFile) {
    const std::string liberation = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf";
    if (!HaveTools() || !std::filesystem::exists(liberation)) {
        GTEST_SKIP() << "poppler-utils or Liberation Sans is not installed";
    }
    test::TempFolder folder;
    std::filesystem::create_directories(folder.path() / "fonts");
    std::filesystem::copy_file(liberation, folder.path() / "fonts" / "only.ttf");
    test::WriteWholeFile(folder.path() / "fonts.conf",
                         "<?xml version=\"1.0\"?>\n<fontconfig><dir>" +
                             (folder.path() / "fonts").string() + "</dir><cachedir>" +
                             (folder.path() / "cache").string() + "</cachedir></fontconfig>\n");
    const std::string onlyLiberation = "FONTCONFIG_FILE=" + (folder.path() / "fonts.conf").string();

    test::TempFolder japanese, english, russian;
    const std::string fallback = test::ReadWholeFile(
        MakeCalendar(japanese.path(), "ja_JP.UTF-8", "--localized", onlyLiberation));
    EXPECT_EQ(fallback, test::ReadWholeFile(MakeCalendar(english.path(), "ja_JP.UTF-8", "")));
    EXPECT_NE(fallback.find("(December 2026) Tj"), std::string::npos);

    const auto pdf = MakeCalendar(russian.path(), "ru_RU.UTF-8", "--localized", onlyLiberation);
    EXPECT_NE(RunTool("pdffonts " + pdf.string()).find("+LiberationSans-Bold"), std::string::npos);
}

// What the fonts gave, and the faces fontconfig chose, remembered in the user's cache,
// change no byte, whatever the cache holds: the reference is the file made with no cache
// at all (its folder a plain file).
TEST(LocalizedPdf, TheFontCachesChangeNoByte) {
    namespace fs = std::filesystem;
    for (const std::string locale : {"ru_RU.UTF-8", "ar_EG.UTF-8", "ja_JP.UTF-8"}) {
        SCOPED_TRACE(locale);
        test::TempFolder folder;
        const fs::path cache = folder.path() / "cache";
        const fs::path files = cache / "tessaly";
        const fs::path settings = folder.path() / "config" / "fontconfig" / "fonts.conf";
        std::ofstream(folder.path() / "not-a-folder") << "x";
        const auto make = [&](const fs::path& cacheHome) {
            const fs::path out = folder.path() / "out";
            fs::create_directories(out);
            return test::ReadWholeFile(
                MakeCalendar(out, locale, "--localized",
                             "XDG_CACHE_HOME=" + cacheHome.string() +
                                 " XDG_CONFIG_HOME=" + (folder.path() / "config").string()));
        };
        // A cache made afresh, then each of its files changed by `change`.
        const auto everyFile = [&](const std::function<void(const fs::path&)>& change) {
            return [&, change] {
                fs::remove_all(cache);
                make(cache);
                for (const auto& file : fs::directory_iterator(files)) {
                    change(file.path());
                }
            };
        };
        const std::string reference = make(folder.path() / "not-a-folder");
        // What each run finds in the cache before it starts.
        const std::pair<const char*, std::function<void()>> cases[] = {
            {"none", [&] { fs::remove_all(cache); }},
            {"its own", [] {}},
            {"the faces alone", everyFile([](const fs::path& file) {
                 if (file.filename() != "faces") {
                     fs::remove(file);
                 }
             })},
            {"garbage", everyFile([](const fs::path& file) {
                 std::ofstream(file) << "tessaly face cache 1\nv 0\n\x01\xff";
             })},
            {"cut short", everyFile([](const fs::path& file) {
                 const std::string whole = test::ReadWholeFile(file);
                 std::ofstream(file, std::ios::binary) << whole.substr(0, whole.size() / 2);
             })},
            {"links", everyFile([](const fs::path& file) {
                 fs::remove(file);
                 fs::create_symlink("/dev/zero", file);
             })},
        };
        for (const auto& [name, prepare] : cases) {
            SCOPED_TRACE(name);
            prepare();
            EXPECT_TRUE(make(cache) == reference);
            // Each run leaves caches of its own, regular files, in place of the links.
            for (const auto& file : fs::directory_iterator(files)) {
                EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file.path())));
            }
        }

        // A setting made after the caches were: fontconfig's answer without Liberation
        // Sans, not the one remembered.
        fs::remove_all(cache);
        make(cache);
        fs::create_directories(settings.parent_path());
        std::ofstream(settings) << "<fontconfig><selectfont><rejectfont><glob>*Liberation*"
                                   "</glob></rejectfont></selectfont></fontconfig>\n";
        const std::string rejected = make(folder.path() / "not-a-folder");
        EXPECT_TRUE(make(cache) == rejected);
        if (locale == "ru_RU.UTF-8") {
            EXPECT_FALSE(rejected == reference);
        }
    }
}

}  // namespace
}  // namespace tessaly
