#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>

#include "calendar/names.h"
#include "platform/locale_names_win32.h"

namespace tessaly {
namespace {

struct LocaleCase {
    unsigned long lcid;
    std::array<const char*, 7> days;
    std::array<const char*, 12> months;
};

// Bytes as GetLocaleInfoA gives them, in each locale's own ANSI code page.
const LocaleCase kEnglish = {
    0x0409,
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"}};

// Windows-1252; month names begin with a lower-case letter.
const LocaleCase kFrench = {
    0x040C,
    {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"},
    {"janvier", "f\xE9vrier", "mars", "avril", "mai", "juin", "juillet", "ao\xFBt", "septembre",
     "octobre", "novembre",
     "d\xE9"
     "cembre"}};

// Windows-1251: every name begins with a lower-case Cyrillic letter.
const LocaleCase kRussian = {
    0x0419,
    {"\xE2\xEE\xF1\xEA\xF0\xE5\xF1\xE5\xED\xFC\xE5", "\xEF\xEE\xED\xE5\xE4\xE5\xEB\xFC\xED\xE8\xEA",
     "\xE2\xF2\xEE\xF0\xED\xE8\xEA", "\xF1\xF0\xE5\xE4\xE0", "\xF7\xE5\xF2\xE2\xE5\xF0\xE3",
     "\xEF\xFF\xF2\xED\xE8\xF6\xE0", "\xF1\xF3\xE1\xE1\xEE\xF2\xE0"},
    {"\xFF\xED\xE2\xE0\xF0\xFC", "\xF4\xE5\xE2\xF0\xE0\xEB\xFC", "\xEC\xE0\xF0\xF2",
     "\xE0\xEF\xF0\xE5\xEB\xFC", "\xEC\xE0\xE9", "\xE8\xFE\xED\xFC", "\xE8\xFE\xEB\xFC",
     "\xE0\xE2\xE3\xF3\xF1\xF2", "\xF1\xE5\xED\xF2\xFF\xE1\xF0\xFC", "\xEE\xEA\xF2\xFF\xE1\xF0\xFC",
     "\xED\xEE\xFF\xE1\xF0\xFC", "\xE4\xE5\xEA\xE0\xE1\xF0\xFC"}};

void ExpectNames(const LocaleNames& names, const LocaleCase& expected) {
    for (size_t k = 0; k < names.days.size(); ++k) {
        EXPECT_EQ(names.days[k], expected.days[k]) << "day " << k;
    }
    for (size_t k = 0; k < names.months.size(); ++k) {
        EXPECT_EQ(names.months[k], expected.months[k]) << "month " << k;
    }
}

TEST(LocaleNames, AreTheFullNamesSundayAndJanuaryFirst) {
    for (const LocaleCase* locale : {&kEnglish, &kFrench, &kRussian}) {
        SCOPED_TRACE(locale->lcid);
        ExpectNames(ReadLocaleNames(locale->lcid), *locale);
    }
}

TEST(LocaleNames, AnUnknownLocaleGivesEnglish) {
    ExpectNames(ReadLocaleNames(0x7FFF0), kEnglish);
}

// The slots' rule on real locale data: only a plain ASCII first letter is raised.
TEST(LocaleNames, MonthSlotsRaiseOnlyAnAsciiFirstLetter) {
    NameTable table;
    FillDayNames(table, true, ReadLocaleNames(kFrench.lcid));
    FillMonthNames(table, true, ReadLocaleNames(kFrench.lcid));
    EXPECT_EQ(table[0], "dimanche");
    EXPECT_EQ(table[kFirstMonthSlot + 0], "Janvier");
    EXPECT_EQ(table[kFirstMonthSlot + 11],
              "D\xE9"
              "cembre");

    FillMonthNames(table, true, ReadLocaleNames(kRussian.lcid));
    EXPECT_EQ(table[kFirstMonthSlot + 0], kRussian.months[0]);
}

const LocaleCase* PinnedCase(LCID user) {
    for (const LocaleCase* locale : {&kEnglish, &kFrench, &kRussian}) {
        if (locale->lcid == user) {
            return locale;
        }
    }
    return nullptr;
}

// Under Wine the user's locale follows LC_ALL, which the test run pins.
TEST(UserLocaleNames, FollowTheThreadLocaleAndTheUsersAfterASettingChange) {
    const LCID user = ::GetUserDefaultLCID();
    const LocaleCase* pinned = PinnedCase(user);
    if (pinned == nullptr) {
        GTEST_SKIP() << "no names known for the user locale " << user;
    }
    ExpectNames(ReadUserLocaleNames(), *pinned);

    const LocaleCase& other = pinned == &kFrench ? kEnglish : kFrench;
    ASSERT_TRUE(::SetThreadLocale(other.lcid));
    ExpectNames(ReadUserLocaleNames(), other);

    ExpectNames(ReadLocaleNamesAfterSettingChange(), *pinned);
    EXPECT_EQ(::GetThreadLocale(), user);
}

}  // namespace
}  // namespace tessaly
