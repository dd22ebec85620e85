#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <random>
#include <string>

#include "core/errors.h"
#include "settings/reg.h"
#include "settings/settings_store_win32.h"

namespace tessaly {
namespace {

using namespace std::string_literals;

constexpr const char* kTestRoot = "Software\\Orvanta\\TessalyTest";

// The real per-user registry, under a key of the test's own that goes afterwards.
class RegistryStore : public ::testing::Test {
  protected:
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestRoot);  // stays while another run uses it
    }

    HKEY Open() {
        HKEY key = nullptr;
        ::RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_ALL_ACCESS, &key);
        return key;
    }

    // Stores a value as another program could have left it.
    void Seed(DWORD type, const std::string& data) {
        RegWriteInteger(backend_, key_, "WeekStart", 0);  // makes the key
        const HKEY key = Open();
        EXPECT_EQ(
            ::RegSetValueExA(key, "WeekStart", 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    // The value's type and data; a type of REG_NONE when it is missing.
    std::pair<DWORD, std::string> Stored(const char* name) {
        const HKEY key = Open();
        DWORD type = REG_NONE;
        std::string data(256, '\0');
        DWORD size = static_cast<DWORD>(data.size());
        ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        ::RegCloseKey(key);
        data.resize(type == REG_NONE ? 0 : size);
        return {type, data};
    }

    // Values under the test key; -1 when the key does not exist.
    long ValueCount() {
        const HKEY key = Open();
        if (key == nullptr) {
            return -1;
        }
        DWORD values = 0;
        ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                           nullptr, nullptr, nullptr, nullptr);
        ::RegCloseKey(key);
        return static_cast<long>(values);
    }

    std::int32_t Read(const char* name, std::int32_t defaultValue) {
        return RegReadInteger(backend_, key_, name, defaultValue);
    }

    RegistrySettingsBackend backend_;
    std::string key_ = std::string(kTestRoot) + "\\" + std::to_string(std::random_device()());
};

TEST_F(RegistryStore, FirstReadGivesTheDefaultsAndLeavesTheEmptyKey) {
    ASSERT_EQ(ValueCount(), -1);
    EXPECT_EQ(Read("WeekStart", 1), 1);
    EXPECT_EQ(Read("Localized", 0), 0);
    EXPECT_EQ(Read("PDF", 0), 0);
    EXPECT_EQ(ValueCount(), 0);
}

TEST_F(RegistryStore, ReadsTextValuesOthersWrote) {
    const std::tuple<DWORD, std::string, std::int32_t> cases[] = {
        {REG_EXPAND_SZ, "1\0"s, 1},
        {REG_EXPAND_SZ, "%NUMBER_OF_PROCESSORS%\0"s, 7},  // not expanded
        {REG_SZ, "\0"s, 7},
        {REG_SZ, ""s, 7},
        {REG_BINARY, ""s, 7},  // no data is no error, whatever the type
        {REG_SZ,
         "12\0"
         "34\0"s,
         12},
        {REG_SZ, "-5"s, -5},  // without its NUL
    };
    for (const auto& [type, data, expected] : cases) {
        Seed(type, data);
        EXPECT_EQ(Read("WeekStart", 7), expected) << "type " << type << " \"" << data << '"';
    }
}

TEST_F(RegistryStore, RefusesOtherTypesAndLeavesThemUntilAWrite) {
    const std::pair<DWORD, std::string> cases[] = {
        {REG_DWORD, "\x01\0\0\0"s},
        {REG_DWORD, "\0\0\0\0"s},
        {REG_BINARY, "1\0"s},
        {REG_MULTI_SZ, "1\0\0"s},
    };
    for (const auto& [type, data] : cases) {
        SCOPED_TRACE(type);
        Seed(type, data);
        try {
            Read("WeekStart", 1);
            ADD_FAILURE() << "read without an error";
        } catch (const TessalyError& error) {
            EXPECT_STREQ(error.what(), "Invalid data type for 'WeekStart'");
        }
        EXPECT_EQ(Stored("WeekStart"), std::make_pair(type, data));
        RegWriteInteger(backend_, key_, "WeekStart", 0);
        EXPECT_EQ(Read("WeekStart", 1), 0);
    }
}

TEST_F(RegistryStore, WritesDecimalTextWithItsNul) {
    const std::pair<std::int32_t, std::string> cases[] = {
        {0, "0\0"s}, {1, "1\0"s}, {INT32_MIN, "-2147483648\0"s}, {INT32_MAX, "2147483647\0"s}};
    for (const auto& [value, data] : cases) {
        RegWriteInteger(backend_, key_, "PDF", value);
        EXPECT_EQ(Stored("PDF"), std::make_pair(DWORD{REG_SZ}, data));
        EXPECT_EQ(Read("PDF", 7), value);
    }
    EXPECT_EQ(ValueCount(), 1);  // each write replaced the one value
}

}  // namespace
}  // namespace tessaly
