#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "platform/system.h"

namespace tessaly {
namespace {

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "win32_tests.exe")) << folder;
}

TEST(DocumentsFolder, IsAnExistingFolderWithItsSeparator) {
    const auto folder = DocumentsFolder();
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->back(), '\\');
    EXPECT_TRUE(std::filesystem::is_directory(*folder)) << *folder;
}

TEST(AbsoluteFolder, IsFullAndEndsInASeparator) {
    const std::string current = std::filesystem::current_path().string();
    struct Case {
        std::string folder;
        std::string expected;
    };
    const Case cases[] = {
        {"C:\\out\\", "C:\\out\\"},
        {"C:\\out", "C:\\out\\"},
        {"C:/out/pdf", "C:\\out\\pdf\\"},
        {"C:\\out\\old\\..\\new", "C:\\out\\new\\"},
        {"", current + "\\"},
        {".", current + "\\"},
        {"sub", current + "\\sub\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AbsoluteFolder(c.folder), c.expected) << '"' << c.folder << '"';
    }
}

TEST(LocalNow, AgreesWithTheCRuntimesLocalTime) {
    // Read the C runtime's clock on both sides, until no minute boundary lies between.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const LocalDateTime now = LocalNow();
        const std::time_t after = std::time(nullptr);
        std::tm first{};
        std::tm last{};
        ASSERT_EQ(::localtime_s(&first, &before), 0);
        ASSERT_EQ(::localtime_s(&last, &after), 0);
        if (first.tm_min != last.tm_min) {
            continue;
        }
        EXPECT_EQ(now.year, first.tm_year + 1900);
        EXPECT_EQ(now.month, first.tm_mon + 1);
        EXPECT_EQ(now.day, first.tm_mday);
        EXPECT_EQ(now.hour, first.tm_hour);
        EXPECT_EQ(now.minute, first.tm_min);
        EXPECT_GE(now.second, first.tm_sec);
        EXPECT_LE(now.second, last.tm_sec);
        return;
    }
    FAIL() << "the minute kept changing";
}

}  // namespace
}  // namespace tessaly
