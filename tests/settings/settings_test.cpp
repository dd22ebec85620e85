#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "core/errors.h"
#include "support/memory_settings.h"

namespace tessaly {
namespace {

using Type = SettingsKey::ValueType;
const std::string kKey = "Software\\Orvanta\\Tessaly";

TEST(SettingsStore, ReadsStoredTextByTheIntegerRuleElseTheDefault) {
    struct Case {
        std::optional<Type> type;  // nothing: the value does not exist
        std::string data;          // raw, NUL included where the store has one
        std::int32_t expected;     // the default is 7
    };
    using S = std::string;
    const Case cases[] = {
        {std::nullopt, "", 7},
        {Type::String, "", 7},          // no data at all
        {Type::String, S("\0", 1), 7},  // empty text
        {Type::String, S("0\0", 2), 0},
        {Type::String, S(" 1\0", 3), 1},  // leading blanks
        {Type::String, S("1 \0", 3), 7},  // a trailing one does not convert
        {Type::String, S("+5\0", 3), 5},
        {Type::String, S("-42\0", 4), -42},
        {Type::String, S("$10\0", 4), 16},
        {Type::String, S("x1f\0", 4), 31},
        {Type::String, S("0x1F\0", 5), 31},
        {Type::String, S("2147483647\0", 11), 2147483647},
        {Type::String, S("-2147483648\0", 12), -2147483647 - 1},
        {Type::String, S("2147483648\0", 11), 7},  // outside the 32-bit range
        {Type::String, S("$100000000\0", 11), 7},
        {Type::String, S("one\0", 4), 7},
        {Type::String, S("1.5\0", 4), 7},
        {Type::String, S("-\0", 2), 7},
        {Type::String, S("12\0junk", 7), 12},  // the text ends at the first NUL
        {Type::String, "5", 5},                // stored without its NUL
        {Type::ExpandString, S("1\0", 2), 1},
        {Type::ExpandString, S("%X%\0", 4), 7},  // not expanded
        {Type::Other, "", 7},                    // no data: the type is not looked at
    };
    for (const auto& c : cases) {
        test::MemorySettings store;
        if (c.type) {
            store.keys[kKey]["WeekStart"] = {*c.type, c.data};
        }
        EXPECT_EQ(RegReadInteger(store, kKey, "WeekStart", 7), c.expected)
            << ::testing::PrintToString(c.data);
    }
}

TEST(SettingsStore, AFirstReadLeavesTheEmptyKey) {
    test::MemorySettings store;
    EXPECT_EQ(RegReadInteger(store, kKey, "PDF", 0), 0);
    ASSERT_EQ(store.keys.count(kKey), 1u);
    EXPECT_TRUE(store.keys[kKey].empty());
}

TEST(SettingsStore, WritesDecimalTextWithItsNulAndReadsItBack) {
    test::MemorySettings store;
    for (const std::int32_t value : {0, 1, -42, 2147483647, -2147483647 - 1}) {
        RegWriteInteger(store, kKey, "Localized", value);
        EXPECT_EQ(RegReadInteger(store, kKey, "Localized", 7), value);
    }
    RegWriteInteger(store, kKey, "PDF", 1);
    RegWriteInteger(store, kKey, "PDF", 1);
    const auto& stored = store.keys[kKey];
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored.at("PDF").type, Type::String);
    EXPECT_EQ(stored.at("PDF").data, std::string("1\0", 2));
    EXPECT_EQ(stored.at("Localized").data, std::string("-2147483648\0", 12));
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

    store.PutString(kKey, "PDF", "1");
    store.refuseDataReads = true;
    try {
        RegReadInteger(store, kKey, "PDF", 0);
        FAIL() << "data that cannot be fetched must be refused";
    } catch (const TessalyError& error) {
        EXPECT_STREQ(error.what(), "Failed to get data for 'PDF'");
    }
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
    store.refuseWrites = false;
    EXPECT_EQ(RegReadInteger(store, kKey, "PDF", 0), 1);
}

}  // namespace
}  // namespace tessaly
