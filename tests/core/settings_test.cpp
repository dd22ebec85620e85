#include <gtest/gtest.h>

#include "core/errors.h"
#include "support/memory_settings.h"

namespace tessaly {
namespace {

using Type = SettingsKey::ValueType;
const std::string kKey = "Software\\Orvanta\\Tessaly";

TEST(SettingsStore, AFirstReadGivesDefaultsAndLeavesTheEmptyKey) {
    test::MemorySettings store;
    EXPECT_EQ(RegReadInteger(store, kKey, "WeekStart", 1), 1);
    EXPECT_EQ(RegReadInteger(store, kKey, "Localized", 0), 0);
    EXPECT_EQ(RegReadInteger(store, kKey, "PDF", 0), 0);
    ASSERT_EQ(store.keys.count(kKey), 1u);
    EXPECT_TRUE(store.keys[kKey].empty());
    EXPECT_EQ(store.opens, 3);     // one open per call...
    EXPECT_EQ(store.openKeys, 0);  // ...and each closed again
}

TEST(SettingsStore, ReadsStoredTextByTheIntegerRule) {
    struct Case {
        Type type;
        std::string data;  // raw, NUL included where the store has one
        int expected;
    };
    const Case cases[] = {
        {Type::String, std::string("0\0", 2), 0},
        {Type::String, std::string(" 1\0", 3), 1},
        {Type::String, std::string("1 \0", 3), 7},       // trailing blank: default
        {Type::String, std::string("\0", 1), 7},         // empty text
        {Type::String, "", 7},                           // no data at all
        {Type::String, std::string("12\0junk", 7), 12},  // text ends at the first NUL
        {Type::String, "5", 5},                          // stored without its NUL
        {Type::ExpandString, std::string("1\0", 2), 1},
        {Type::ExpandString, std::string("%X%\0", 4), 7},  // not expanded, does not convert
        {Type::String, std::string("$10\0", 4), 16},
        {Type::Other, "", 7},  // no data: the type is not looked at
    };
    for (const auto& c : cases) {
        test::MemorySettings store;
        store.keys[kKey]["WeekStart"] = {c.type, c.data};
        EXPECT_EQ(RegReadInteger(store, kKey, "WeekStart", 7), c.expected)
            << ::testing::PrintToString(c.data);
        EXPECT_EQ(store.openKeys, 0);
    }
}

TEST(SettingsStore, FailuresCarryTheValueName) {
    test::MemorySettings store;
    store.keys[kKey]["WeekStart"] = {Type::Other, std::string("\1\0\0\0", 4)};
    try {
        RegReadInteger(store, kKey, "WeekStart", 1);
        FAIL() << "a number value must be refused";
    } catch (const TessalyError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'WeekStart'");
    }
    EXPECT_EQ(store.openKeys, 0);  // closed on the way out too

    store.PutString(kKey, "PDF", "1");
    store.refuseDataReads = true;
    EXPECT_THROW(
        {
            try {
                RegReadInteger(store, kKey, "PDF", 0);
            } catch (const TessalyError& error) {
                EXPECT_STREQ(error.what(), "Failed to get data for 'PDF'");
                throw;
            }
        },
        TessalyError);
}

TEST(SettingsStore, WritesDecimalTextWithItsNul) {
    test::MemorySettings store;
    RegWriteInteger(store, kKey, "PDF", 0);
    RegWriteInteger(store, kKey, "WeekStart", 1);
    RegWriteInteger(store, kKey, "WeekStart", 1);
    RegWriteInteger(store, kKey, "Localized", -42);
    const auto& values = store.keys[kKey];
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values.at("PDF").data, std::string("0\0", 2));
    EXPECT_EQ(values.at("PDF").type, Type::String);
    EXPECT_EQ(values.at("WeekStart").data, std::string("1\0", 2));
    EXPECT_EQ(values.at("Localized").data, std::string("-42\0", 4));
    EXPECT_EQ(RegReadInteger(store, kKey, "Localized", 0), -42);
    EXPECT_EQ(store.openKeys, 0);
}

TEST(SettingsStore, AKeyThatCannotBeOpenedReadsDefaultsAndRefusesWrites) {
    test::MemorySettings store;
    store.refuseKeys = true;
    EXPECT_EQ(RegReadInteger(store, kKey, "WeekStart", 1), 1);
    try {
        RegWriteInteger(store, kKey, "PDF", 1);
        FAIL();
    } catch (const TessalyError& error) {
        EXPECT_STREQ(error.what(), "Failed to create key Software\\Orvanta\\Tessaly");
    }
    EXPECT_TRUE(store.keys.empty());  // nothing went anywhere else either
}

TEST(SettingsStore, ARefusedWriteNamesTheValueAndKeepsTheOldOne) {
    test::MemorySettings store;
    store.PutString(kKey, "PDF", "1");
    store.refuseWrites = true;
    try {
        RegWriteInteger(store, kKey, "PDF", 0);
        FAIL();
    } catch (const TessalyError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'PDF'");
    }
    EXPECT_EQ(store.keys[kKey]["PDF"].data, std::string("1\0", 2));
    EXPECT_EQ(store.openKeys, 0);
}

}  // namespace
}  // namespace tessaly
