#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "platform/locale_names_win32.h"
#include "platform/text_encoding.h"

namespace tessaly {
namespace {

using namespace std::string_literals;

// Sunday, Monday, Saturday, January, December: enough to catch a shifted index.
struct LocaleCase {
    unsigned long lcid;
    const char* names[5];
};

// Bytes in each locale's own ANSI code page: French in 1252 with lower-case month
// names, Russian in 1251.
const LocaleCase kLocales[] = {
    {0x0409, {"Sunday", "Monday", "Saturday", "January", "December"}},
    {0x040C, {"dimanche", "lundi", "samedi", "janvier", "d\351cembre"}},  // octal: \351 = e acute
    {0x0419,
     {"\xE2\xEE\xF1\xEA\xF0\xE5\xF1\xE5\xED\xFC\xE5",
      "\xEF\xEE\xED\xE5\xE4\xE5\xEB\xFC\xED\xE8\xEA", "\xF1\xF3\xE1\xE1\xEE\xF2\xE0",
      "\xFF\xED\xE2\xE0\xF0\xFC", "\xE4\xE5\xEA\xE0\xE1\xF0\xFC"}},
};

void ExpectNames(const LocaleNames& names, const LocaleCase& expected) {
    EXPECT_EQ(names.days[0], expected.names[0]);
    EXPECT_EQ(names.days[1], expected.names[1]);
    EXPECT_EQ(names.days[6], expected.names[2]);
    EXPECT_EQ(names.months[0], expected.names[3]);
    EXPECT_EQ(names.months[11], expected.names[4]);
}

TEST(LocaleNames, AreTheFullNamesSundayAndJanuaryFirst) {
    for (const LocaleCase& locale : kLocales) {
        SCOPED_TRACE(locale.lcid);
        ExpectNames(ReadLocaleNames(locale.lcid), locale);
    }
    ExpectNames(ReadLocaleNames(0x7FFF0), kLocales[0]);  // no such locale: English
}

// Under Wine the user locale follows LC_ALL, which the test run pins to French or Russian.
TEST(UserLocaleNames, FollowTheThreadLocaleAndTheUserAfterASettingChange) {
    const LCID user = ::GetUserDefaultLCID();
    if (user != 0x040C && user != 0x0419) {
        GTEST_SKIP() << "user locale " << user << " is not one the run pins";
    }
    const LocaleCase& pinned = user == 0x040C ? kLocales[1] : kLocales[2];
    ExpectNames(ReadUserLocaleNames(), pinned);
    ASSERT_TRUE(::SetThreadLocale(0x0409));
    ExpectNames(ReadUserLocaleNames(), kLocales[0]);
    ExpectNames(ReadLocaleNamesAfterSettingChange(), pinned);
}

// The input is in the ANSI code page, which under Wine follows the run's LC_ALL.
TEST(ToWinAnsi, GivesWindows1252OrNothing) {
    struct Case {
        UINT ansiCodePage;
        std::string input;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {1252, ""s, ""s},
        {1252, "\xE9 \xFC \xDF"s, "\xE9 \xFC \xDF"s},
        {1252, "\x80\0x"s, "\x80\0x"s},
        {1251, "Dec 2026"s, "Dec 2026"s},
        {1251, "\xE2"s, std::nullopt},     // Cyrillic letter
        {1251, "\xB9"s, std::nullopt},     // numero sign
        {1251, "\xAB\xBB"s, "\xAB\xBB"s},  // guillemets, at the same bytes
        {1251, "\x88"s, "\x80"s},          // euro sign, at another byte
    };
    const UINT ansiCodePage = ::GetACP();
    int checked = 0;
    for (const Case& c : cases) {
        if (c.ansiCodePage == ansiCodePage) {
            EXPECT_EQ(ToWinAnsi(c.input), c.expected) << '"' << c.input << '"';
            ++checked;
        }
    }
    if (checked == 0) {
        GTEST_SKIP() << "no cases for the ANSI code page " << ansiCodePage;
    }
}

}  // namespace
}  // namespace tessaly
