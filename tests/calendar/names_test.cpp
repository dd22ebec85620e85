#include <gtest/gtest.h>

#include "calendar/names.h"

namespace tessaly {
namespace {

LocaleNames MixedCaseLocale() {
    LocaleNames names;
    names.days = {"domingo",
                  "lunes",
                  "martes",
                  "mi\xC3\xA9rcoles",
                  "jueves",
                  "viernes",
                  "s\xC3\xA1"
                  "bado"};
    names.months = {"enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
                    "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre"};
    // A Cyrillic lower-case first letter (UTF-8 lead byte) and one that is already upper.
    names.months[0] = "\xD1\x8F\xD0\xBD\xD0\xB2\xD0\xB0\xD1\x80\xD1\x8C";
    names.months[1] = "Febrero";
    names.months[2] = "1marzo";
    return names;
}

TEST(Names, EnglishWhenTheFlagIsClearWhateverTheLocale) {
    NameTable table;
    FillDayNames(table, false, MixedCaseLocale());
    FillMonthNames(table, false, MixedCaseLocale());
    EXPECT_EQ(table[0], "Sunday");
    EXPECT_EQ(table[6], "Saturday");
    EXPECT_EQ(table[7], "January");
    EXPECT_EQ(table[18], "December");
    EXPECT_EQ(table[19], "");
}

TEST(Names, RaisesOnlyAnAsciiFirstLetterOfMonthNames) {
    const LocaleNames locale = MixedCaseLocale();
    NameTable table;
    table[kWeekendColorSlot] = "c0c0c0";
    FillDayNames(table, true, locale);
    FillMonthNames(table, true, locale);
    EXPECT_EQ(table[1], "lunes");  // day names keep their case
    EXPECT_EQ(table[3], "mi\xC3\xA9rcoles");
    EXPECT_EQ(table[7], locale.months[0]);  // non-ASCII first letter unchanged
    EXPECT_EQ(table[8], "Febrero");
    EXPECT_EQ(table[9], "1marzo");
    EXPECT_EQ(table[10], "Abril");
    EXPECT_EQ(table[18], "Diciembre");
    EXPECT_EQ(table[19], "c0c0c0");  // the colour slot is not the names' business
    // The shared locale table itself keeps its lower-case names.
    EXPECT_EQ(locale.months[3], "abril");
}

TEST(Names, TogglingTheFlagGivesTheSameNamesEachTime) {
    const LocaleNames locale = MixedCaseLocale();
    NameTable first, again;
    FillMonthNames(first, true, locale);
    FillMonthNames(again, false, locale);
    FillMonthNames(again, true, locale);
    EXPECT_EQ(first, again);
}

TEST(Names, AnEmptyLocaleEntryFallsBackToEnglishInThatSlotOnly) {
    LocaleNames locale = MixedCaseLocale();
    locale.days[2] = "";
    locale.months[11] = "";
    const LocaleNames complete = WithEnglishFallback(locale);
    EXPECT_EQ(complete.days[2], "Tuesday");
    EXPECT_EQ(complete.days[1], "lunes");
    EXPECT_EQ(complete.months[11], "December");
    EXPECT_EQ(complete.months[10], "noviembre");
}

}  // namespace
}  // namespace tessaly
