#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "core/errors.h"
#include "platform/registry_win32.h"
#include "settings/reg.h"

namespace tessaly {
namespace {

using namespace std::string_literals;

constexpr const char* kTestRoot = "Software\\Orvanta\\TessalyTest";

struct StoredValue {
    DWORD type;
    std::string data;
};

// The real per-user registry, under a key of the test's own that goes afterwards.
class RegistryStore : public ::testing::Test {
  protected:
    void SetUp() override {
        key_ = std::string(kTestRoot) + "\\" + std::to_string(std::random_device()());
    }

    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        // Only goes when no other run still has a key below it.
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestRoot);
    }

    // Stores a value the way another program could have left it.
    void Seed(const char* name, DWORD type, const std::string& data) {
        HKEY key = nullptr;
        ASSERT_EQ(
            ::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        EXPECT_EQ(::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                   static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    std::optional<StoredValue> Stored(const char* name) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        StoredValue value{REG_NONE, std::string(256, '\0')};
        DWORD size = static_cast<DWORD>(value.data.size());
        const LSTATUS status = ::RegQueryValueExA(
            key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.data.data()), &size);
        ::RegCloseKey(key);
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        value.data.resize(size);
        return value;
    }

    // Sub-keys and values of the test key; nothing when the key does not exist.
    std::optional<std::pair<DWORD, DWORD>> KeyContents() {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        DWORD subKeys = 0;
        DWORD values = 0;
        ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                           nullptr, nullptr, nullptr, nullptr);
        ::RegCloseKey(key);
        return std::make_pair(subKeys, values);
    }

    std::int32_t Read(const char* name, std::int32_t defaultValue) {
        return RegReadInteger(backend_, key_, name, defaultValue);
    }

    RegistrySettingsBackend backend_;
    std::string key_;
};

TEST_F(RegistryStore, FirstReadGivesTheDefaultsAndLeavesTheEmptyKey) {
    ASSERT_FALSE(KeyContents());
    EXPECT_EQ(Read("WeekStart", 1), 1);
    EXPECT_EQ(Read("Localized", 0), 0);
    EXPECT_EQ(Read("PDF", 0), 0);
    EXPECT_EQ(KeyContents(), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(RegistryStore, ReadsTextValuesWrittenByOthers) {
    struct Case {
        const char* what;
        DWORD type;
        std::string data;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"expandable string", REG_EXPAND_SZ, "1\0"s, 1},
        {"expandable string is not expanded", REG_EXPAND_SZ, "%NUMBER_OF_PROCESSORS%\0"s, 7},
        {"empty text", REG_SZ, "\0"s, 7},
        {"no data at all", REG_SZ, ""s, 7},
        {"no data is no error whatever the type", REG_BINARY, ""s, 7},
        {"leading blank", REG_SZ, " 1\0"s, 1},
        {"trailing blank", REG_SZ, "1 \0"s, 7},
        {"text ends at the first NUL", REG_SZ,
         "12\0"s
         "34\0"s,
         12},
        {"no terminating NUL", REG_SZ, "-5"s, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seed("WeekStart", c.type, c.data);
        EXPECT_EQ(Read("WeekStart", 7), c.expected);
    }
}

TEST_F(RegistryStore, RefusesValuesOfOtherTypesAndLeavesThem) {
    struct Case {
        const char* what;
        DWORD type;
        std::string data;
    };
    const Case cases[] = {
        {"number 1", REG_DWORD, "\x01\0\0\0"s},
        {"number 0", REG_DWORD, "\0\0\0\0"s},
        {"binary text", REG_BINARY, "1\0"s},
        {"list of texts", REG_MULTI_SZ, "1\0\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seed("WeekStart", c.type, c.data);
        try {
            Read("WeekStart", 1);
            ADD_FAILURE() << "read without an error";
        } catch (const TessalyError& error) {
            EXPECT_STREQ(error.what(), "Invalid data type for 'WeekStart'");
        }
        const auto stored = Stored("WeekStart");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, c.type);
        EXPECT_EQ(stored->data, c.data);
    }
}

TEST_F(RegistryStore, WritesDecimalTextWithItsNul) {
    struct Case {
        std::int32_t value;
        std::string data;
    };
    const Case cases[] = {
        {0, "0\0"s},
        {1, "1\0"s},
        {-1, "-1\0"s},
        {INT32_MIN, "-2147483648\0"s},
        {INT32_MAX, "2147483647\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        RegWriteInteger(backend_, key_, "PDF", c.value);
        const auto stored = Stored("PDF");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, DWORD{REG_SZ});
        EXPECT_EQ(stored->data, c.data);
        EXPECT_EQ(Read("PDF", 7), c.value);
    }
    // Every write replaced the one value.
    EXPECT_EQ(KeyContents(), std::make_pair(DWORD{0}, DWORD{1}));
}

TEST_F(RegistryStore, WriteReplacesANumberValueWithText) {
    Seed("WeekStart", REG_DWORD, "\x01\0\0\0"s);
    RegWriteInteger(backend_, key_, "WeekStart", 0);
    const auto stored = Stored("WeekStart");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, DWORD{REG_SZ});
    EXPECT_EQ(Read("WeekStart", 1), 0);
}

}  // namespace
}  // namespace tessaly
