#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "cli_run.h"
#include "support/pdf_checks.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

// December 2026 as a reader of each language expects it: the direction, the title, how
// many days of the first row are blank before Tuesday the 1st (so the week's first day),
// the weekend among the columns in reading order, and the 31st in the locale's digits.
// The facts are those of the locales' common data, written down here by hand.
struct RegionalCase {
    const char* locale;  // POSIX name; Windows takes it with a hyphen and no code set
    const char* options;
    bool rightToLeft;
    const char* title;
    int blanksBeforeFirst;
    const char* weekendColumns;
    const char* lastDay;
    // Where Wine differs: it has no icu.dll, so every weekend is Saturday and Sunday.
    const char* wineWeekendColumns = nullptr;
};

std::string PlatformLocale(const std::string& posix) {
#ifdef _WIN32
    std::string name = posix.substr(0, posix.find('.'));
    name[name.find('_')] = '-';
    return name;
#else
    return posix;
#endif
}

std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex expression(pattern);
    for (auto match = std::sregex_iterator(text.begin(), text.end(), expression);
         match != std::sregex_iterator(); ++match) {
        found.push_back((*match)[1]);
    }
    return found;
}

TEST(CliRegional, EachLocaleLaysOutItsOwnWeek) {
    const RegionalCase cases[] = {
        {"he_IL.UTF-8", "", true, "דצמבר 2026", 2, "0000011", "31", "1000001"},
        {"ar_EG.UTF-8", "", true, "ديسمبر ٢٠٢٦", 3, "1000001", "٣١", "1100000"},
        {"fa_IR.UTF-8", "", true, "دسامبر ۲۰۲۶", 3, "0000001", "۳۱", "1100000"},
        {"ja_JP.UTF-8", "", false, "2026年12月", 2, "1000001", "31"},
        {"de_DE.UTF-8", "", false, "Dezember 2026", 1, "0000011", "31"},
        {"en_US.UTF-8", "", false, "December 2026", 2, "1000001", "31"},
        // Options named on the command line win over the locale's.
        {"he_IL.UTF-8", "--week-start monday --weekend sunday", true, "דצמבר 2026", 1, "0000001",
         "31"},
    };
    for (const RegionalCase& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.options);
        test::TempFolder folder;
        const std::string arguments =
            "--month 12 --year 2026 --color-weekends --regional --locale " +
            PlatformLocale(c.locale) + " " + c.options + " --output " + folder.path().string();
        ASSERT_EQ(test::RunCli(arguments).status, 0);
        ASSERT_EQ(test::RunCli("--pdf " + arguments).status, 0);
        std::string html = test::ReadWholeFile(folder.path() / "calendar.html");
        std::erase(html, '\r');

        EXPECT_EQ(html.starts_with("<html dir=\"rtl\">"), c.rightToLeft);
        EXPECT_NE(html.find("<big>" + std::string(c.title) + "</big>"), std::string::npos);
        const auto headings = Matches(html, "<td id=\"box_head\"\n( class=\"weekend\"\n)?>");
        std::string weekend;
        for (const std::string& heading : headings) {
            weekend += heading.empty() ? '0' : '1';
        }
#ifdef _WIN32
        EXPECT_EQ(weekend, c.wineWeekendColumns ? c.wineWeekendColumns : c.weekendColumns);
#else
        EXPECT_EQ(weekend, c.weekendColumns);
#endif
        const auto days = Matches(html, "<td width=\"14%\" id=\"box\"[^>]*><strong>([^<]*)<");
        ASSERT_EQ(days.size(), 42u);
        int blanks = 0;
        while (days[static_cast<std::size_t>(blanks)].empty()) {
            ++blanks;
        }
        EXPECT_EQ(blanks, c.blanksBeforeFirst);
        EXPECT_EQ(days[static_cast<std::size_t>(blanks) + 30], c.lastDay);

        // The PDF gives the title and each day's name in reading order.
        auto text = test::ExtractedText(folder.path() / "calendar.pdf");
        ASSERT_TRUE(text);
        // Less the marks of direction that pdftotext puts around right-to-left runs.
        *text = std::regex_replace(*text, std::regex("\xE2\x80[\x8E\x8F\xAA-\xAE]"), "");
        EXPECT_NE(text->find(c.title), std::string::npos) << *text;
        for (const std::string& name :
             Matches(html, "<td id=\"box_head\"\n(?: class=\"weekend\"\n)?>([^<]*)<")) {
            EXPECT_NE(text->find(name), std::string::npos) << name << "\n" << *text;
        }
    }
}

}  // namespace
}  // namespace tessaly
