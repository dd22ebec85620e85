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

// UTF-8 names; French with lower-case month names.
const LocaleCase kLocales[] = {
    {0x0409, {"Sunday", "Monday", "Saturday", "January", "December"}},
    {0x040C, {"dimanche", "lundi", "samedi", "janvier", "décembre"}},
    {0x0419, {"воскресенье", "понедельник", "суббота", "январь", "декабрь"}},
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
    // The code pages their 8-bit text is written in (Microsoft's locale tables).
    EXPECT_EQ(ReadLocaleNames(0x040C).codePage, 1252u);
    EXPECT_EQ(ReadLocaleNames(0x0419).codePage, 1251u);
    EXPECT_EQ(ReadLocaleNames(0x0411).codePage, 932u);
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

// UTF-8 into a code page's bytes, as GetLocaleInfoA gives names: the bytes of Microsoft's
// code page tables, a best fit or "?" for a character the page lacks.
TEST(InCodePage, GivesTheCodePagesBytes) {
    struct Case {
        unsigned codePage;
        std::string utf8;
        std::string expected;
    };
    const Case cases[] = {
        {1252, "", ""},
        {1252, "é ü ß €", "\xE9 \xFC \xDF \x80"},
        {1252, "Dec\0x"s, "Dec\0x"s},
        {1251, "декабрь 2026", "\xE4\xE5\xEA\xE0\xE1\xF0\xFC 2026"},
        {1251, "«€»", "\xAB\x88\xBB"},
        {1251, "漢", "?"},
        {1252, "Ж", "?"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InCodePage(c.utf8, c.codePage), c.expected) << c.codePage << " " << c.utf8;
    }
}

}  // namespace
}  // namespace tessaly
