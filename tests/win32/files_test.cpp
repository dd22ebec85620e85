#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/errors.h"
#include "output/calendar_output.h"
#include "platform/file_save.h"
#include "platform/system.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

using namespace std::string_literals;
using test::ReadWholeFile;
using test::WriteWholeFile;

TEST(SaveFileAtomically, WritesTheBytesAsTheyAreOverTheEarlierFile) {
    test::TempFolder folder;
    const std::string path = folder.withSeparator() + "calendar.html";
    WriteWholeFile(path, "earlier calendar, longer than the new one");
    // CR LF, a lone LF, Ctrl-Z and NUL come out unchanged: no text mode anywhere.
    const std::string bytes = "<html>\r\n\n\x1A\0end"s;
    SaveFileAtomically(path, bytes, kSaveStreamError);
    EXPECT_EQ(ReadWholeFile(path), bytes);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"calendar.html"});
}

TEST(SaveFileAtomically, FailureLeavesTheFolderAsItWas) {
    enum Obstacle { kMissingFolder, kFolderInThePlace, kTargetHeldOpen };
    for (const Obstacle obstacle : {kMissingFolder, kFolderInThePlace, kTargetHeldOpen}) {
        SCOPED_TRACE(obstacle);
        test::TempFolder folder;
        std::string path = folder.withSeparator() + "calendar.html";
        HANDLE viewer = INVALID_HANDLE_VALUE;
        if (obstacle == kMissingFolder) {
            path = folder.withSeparator() + "missing\\calendar.html";
        } else if (obstacle == kFolderInThePlace) {
            std::filesystem::create_directory(path);
        } else {
            // Held as a viewer holds it: others may read the file but not replace it.
            WriteWholeFile(path, "earlier");
            viewer = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
        }
        const auto before = folder.entries();
        try {
            SaveFileAtomically(path, "new calendar", kSaveStreamError);
            ADD_FAILURE() << "saved without an error";
        } catch (const FileCreateError& error) {
            EXPECT_EQ(error.what(), "Cannot create file " + path);
        }
        if (viewer != INVALID_HANDLE_VALUE) {
            ::CloseHandle(viewer);
            EXPECT_EQ(ReadWholeFile(path), "earlier");
        }
        EXPECT_EQ(folder.entries(), before);
    }
}

TEST(Folders, AreFullExistingAndEndInASeparator) {
    const std::string program = ProgramFolder();
    EXPECT_TRUE(std::filesystem::is_regular_file(program + "win32_tests.exe")) << program;
    const auto documents = DocumentsFolder();
    ASSERT_TRUE(documents);
    EXPECT_EQ(documents->back(), '\\');
    EXPECT_TRUE(std::filesystem::is_directory(*documents)) << *documents;
}

TEST(AbsoluteFolder, IsFullAndEndsInASeparator) {
    const std::string current = std::filesystem::current_path().string();
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\out\\", "C:\\out\\"},
        {"C:/out/pdf", "C:\\out\\pdf\\"},
        {"C:\\out\\old\\..\\new", "C:\\out\\new\\"},
        {"", current + "\\"},
        {"sub", current + "\\sub\\"},
    };
    for (const auto& [folder, expected] : cases) {
        EXPECT_EQ(AbsoluteFolder(folder), expected) << '"' << folder << '"';
    }
}

}  // namespace
}  // namespace tessaly
