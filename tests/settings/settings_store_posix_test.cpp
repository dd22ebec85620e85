#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "core/errors.h"
#include "core/product.h"
#include "settings/settings_store_posix.h"
#include "support/scoped_env.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

using Type = SettingsKey::ValueType;
const std::string kKey = kSettingsKey;
const std::string kHeader = "[Software\\Orvanta\\Tessaly]\n";

struct StoreFolder {
    test::TempFolder folder;
    std::string path = folder.withSeparator() + "Orvanta/Tessaly.conf";

    std::string Text() const { return test::ReadWholeFile(path); }
    void Write(const std::string& text) const {
        std::filesystem::create_directories(folder.path() / "Orvanta");
        test::WriteWholeFile(path, text);
    }
    // What the program would show: the value, or the error's message.
    std::string ReadPdf() const {
        SettingsFile store(path);
        try {
            return std::to_string(RegReadInteger(store, kKey, "PDF", 7));
        } catch (const TessalyError& error) {
            return error.what();
        }
    }
    std::string WritePdf(int value) const {
        SettingsFile store(path);
        try {
            RegWriteInteger(store, kKey, "PDF", value);
            return "stored";
        } catch (const TessalyError& error) {
            return error.what();
        }
    }
};

TEST(SettingsFile, AFirstReadCreatesTheFolderAndAnEmptyKey) {
    StoreFolder s;
    SettingsFile store(s.path);
    EXPECT_EQ(RegReadInteger(store, kKey, "WeekStart", 1), 1);
    EXPECT_EQ(RegReadInteger(store, kKey, "Localized", 0), 0);
    EXPECT_EQ(s.Text(), kHeader);
    // Only the file and its lock file, no temporary left behind.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(s.folder.path() / "Orvanta")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Tessaly.conf", "Tessaly.conf.lock"}));
}

TEST(SettingsFile, WrittenValuesComeBackInANewStoreAsDecimalText) {
    StoreFolder s;
    const std::pair<const char*, int> writes[] = {
        {"WeekStart", 0},    {"Localized", 1}, {"PDF", -2147483647 - 1},
        {"PDF", 2147483647}, {"WeekStart", 1},  // overwritten in place, not repeated
    };
    for (const auto& [name, value] : writes) {
        SettingsFile store(s.path);
        RegWriteInteger(store, kKey, name, value);
        EXPECT_EQ(RegReadInteger(store, kKey, name, 99), value) << name;
    }
    EXPECT_EQ(s.Text(), kHeader + "WeekStart=1\nLocalized=1\nPDF=2147483647\n");

    SettingsFile later(s.path);
    const auto key = later.OpenOrCreateKey(kKey);
    ASSERT_TRUE(key);
    const auto info = key->QueryValue("PDF");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->type, Type::String);
    EXPECT_EQ(info->size, 11u);  // ten digits and the NUL
    EXPECT_EQ(key->ReadValueData("PDF"), std::string("2147483647\0", 11));
    EXPECT_FALSE(key->QueryValue("Missing"));
}

TEST(SettingsFile, HandEditedLinesReadByTheStoreRules) {
    struct Case {
        std::string file;
        std::string expected;  // the value read with default 7, or the error
    };
    const Case cases[] = {
        {kHeader + "PDF=1\n", "1"},
        {kHeader + "PDF= 1\n", "1"},
        {kHeader + "PDF=1 \n", "7"},
        {kHeader + "PDF=\n", "7"},
        {kHeader + "PDF=$10\n", "16"},
        {kHeader + "PDF=expand:1\n", "1"},
        {kHeader + "PDF=dword:00000001\n", "Invalid data type for 'PDF'"},
        {kHeader + "PDF=dword:\n", "Invalid data type for 'PDF'"},
        {"[software\\orvanta\\tessaly]\n  pdf = 1\n", "1"},  // case and blanks as in the registry
        {kHeader + "PDF=1\r\nWeekStart=0\r\n", "1"},
        {kHeader + "PDF=1\nPDF=0\n", "0"},  // the last line wins
        {"[Other]\nPDF=1\n" + kHeader, "7"},
        {kHeader + "; PDF=1\n# PDF=1\n", "7"},
        {"PDF=1\n" + kHeader, "7"},  // before any section
        {kHeader + "[Other]\nPDF=1\n", "7"},
        {kHeader + "PDF=1\n[Other]\n" + kHeader + "WeekStart=0\n", "1"},
        {"\xEF\xBB\xBF" + kHeader + "PDF=1\r\n", "1"},  // as a Windows editor saves it
    };
    for (const auto& c : cases) {
        StoreFolder s;
        s.Write(c.file);
        EXPECT_EQ(s.ReadPdf(), c.expected) << c.file;
    }
}

TEST(SettingsFile, AWriteKeepsWhatItDoesNotUnderstand) {
    StoreFolder s;
    s.Write("# written by hand\n[Other]\nX=1\n\n" + kHeader + "WeekStart=0\n\n[Last]\nY=2\n");
    EXPECT_EQ(s.WritePdf(1), "stored");
    EXPECT_EQ(s.Text(), "# written by hand\n[Other]\nX=1\n\n" + kHeader +
                            "WeekStart=0\nPDF=1\n\n[Last]\nY=2\n");

    // Garbage without a section gets the key added after it.
    StoreFolder garbage;
    const std::string junk("\x01\x02\0zz\xff", 6);
    garbage.Write(junk);
    EXPECT_EQ(garbage.ReadPdf(), "7");
    EXPECT_EQ(garbage.WritePdf(0), "stored");
    EXPECT_EQ(garbage.Text(), junk + "\n\n" + kHeader + "PDF=0\n");
}

TEST(SettingsFile, AStoreThatCannotBeReadOrWrittenGivesDefaultsAndRefusesWrites) {
    struct Case {
        const char* what;
        std::function<std::string(StoreFolder&)> prepare;  // the path to use
        bool keepsContent;
    };
    const Case cases[] = {
        {"a folder where the file should be",
         [](StoreFolder& s) {
             std::filesystem::create_directories(s.path);
             return s.path;
         },
         false},
        {"a regular file where the folder should be",
         [](StoreFolder& s) {
             test::WriteWholeFile(s.folder.path() / "Orvanta", "not a folder");
             return s.path;
         },
         false},
        {"a file far larger than any settings",
         [](StoreFolder& s) {
             s.Write(kHeader + "PDF=1\n" + std::string(2 << 20, '#'));
             return s.path;
         },
         true},
        {"no home folder at all", [](StoreFolder&) { return std::string(); }, false},
        // Opened without waiting for a writer that never comes.
        {"a FIFO where the file should be",
         [](StoreFolder& s) {
             std::filesystem::create_directories(s.folder.path() / "Orvanta");
             ::mkfifo(s.path.c_str(), 0600);
             return s.path;
         },
         false},
    };
    for (const auto& c : cases) {
        StoreFolder s;
        s.path = c.prepare(s);
        const std::string before = c.keepsContent ? s.Text() : "";
        EXPECT_EQ(s.ReadPdf(), "7") << c.what;
        EXPECT_EQ(s.WritePdf(1), "Failed to set data for 'PDF'") << c.what;
        if (c.keepsContent) {
            EXPECT_TRUE(s.Text() == before) << c.what;
        }
    }
}

TEST(SettingsFile, WhatWouldNotReadBackIsRefused) {
    StoreFolder s;
    SettingsFile store(s.path);
    for (const char* keyPath : {"", "A]B", "A\nB", " A"}) {
        EXPECT_FALSE(store.OpenOrCreateKey(keyPath)) << keyPath;
    }
    const auto key = store.OpenOrCreateKey(kKey);
    ASSERT_TRUE(key);
    const std::pair<std::string, std::string> refused[] = {
        {"A=B", std::string("1\0", 2)},      {"", std::string("1\0", 2)},
        {" A", std::string("1\0", 2)},       {"[A]", std::string("1\0", 2)},
        {"A", std::string("1\n[B]\0", 6)},   {"A", std::string("dword:1\0", 8)},
        {"A", std::string("expand:1\0", 9)}, {"#A", std::string("1\0", 2)},
        {"[A", std::string("B]\0", 3)},
    };
    for (const auto& [name, data] : refused) {
        EXPECT_FALSE(key->SetStringValue(name, data)) << name << " " << data;
    }
    EXPECT_EQ(s.Text(), kHeader);
}

TEST(SettingsFile, TwoCopiesWritingAtOnceLoseNothing) {
    StoreFolder s;
    constexpr int kWrites = 40;
    const auto writer = [&](char prefix) {
        SettingsFile store(s.path);  // a store of its own, as another process has
        for (int k = 0; k < kWrites; ++k) {
            RegWriteInteger(store, kKey, prefix + std::to_string(k), k);
        }
    };
    std::thread first(writer, 'A');
    std::thread second(writer, 'B');
    first.join();
    second.join();

    SettingsFile store(s.path);
    for (const char prefix : {'A', 'B'}) {
        for (int k = 0; k < kWrites; ++k) {
            EXPECT_EQ(RegReadInteger(store, kKey, prefix + std::to_string(k), -1), k)
                << prefix << k;
        }
    }
}

TEST(SettingsFile, DefaultPathFollowsTheXdgRules) {
    struct Case {
        const char* xdgConfigHome;  // nullptr: unset
        const char* home;
        std::string expected;
    };
    const Case cases[] = {
        {"/cfg", "/home/u", "/cfg/Orvanta/Tessaly.conf"},
        {nullptr, "/home/u", "/home/u/.config/Orvanta/Tessaly.conf"},
        {"", "/home/u", "/home/u/.config/Orvanta/Tessaly.conf"},
        {"relative", "/home/u", "/home/u/.config/Orvanta/Tessaly.conf"},
    };
    test::ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    test::ScopedEnv home("HOME", std::nullopt);
    for (const auto& c : cases) {
        xdg.Set(c.xdgConfigHome ? std::optional<std::string>(c.xdgConfigHome) : std::nullopt);
        home.Set(c.home);
        EXPECT_EQ(DefaultSettingsFilePath(), c.expected)
            << (c.xdgConfigHome ? c.xdgConfigHome : "");
    }
}

}  // namespace
}  // namespace tessaly
