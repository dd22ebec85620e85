#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/errors.h"
#include "platform/file_save.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

using namespace std::string_literals;
using test::ReadWholeFile;
using test::TempFolder;
using test::WriteWholeFile;

TEST(SaveFileAtomically, WritesTheBytesAsTheyAreOverTheEarlierFile) {
    TempFolder folder;
    const std::string path = folder.withSeparator() + "calendar.html";
    WriteWholeFile(path, "earlier calendar, longer than the new one");
    // CR LF, a lone LF, Ctrl-Z and NUL come out unchanged: no text mode anywhere.
    const std::string bytes = "<html>\r\n\n\x1A\0end"s;
    SaveFileAtomically(path, bytes, kSaveStreamError);
    EXPECT_EQ(ReadWholeFile(path), bytes);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"calendar.html"});
}

// Opens the file as a viewer would hold it: others may read it but not replace it.
class HeldOpen {
  public:
    explicit HeldOpen(const std::string& path)
        : file_(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() {
        if (file_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file_);
        }
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool isOpen() const { return file_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE file_;
};

TEST(SaveFileAtomically, FailureLeavesTheFolderAsItWas) {
    enum class Obstacle { MissingFolder, FolderInThePlace, TargetHeldOpen };
    struct Case {
        const char* what;
        Obstacle obstacle;
    };
    const Case cases[] = {
        {"missing folder", Obstacle::MissingFolder},
        {"a folder where the file should go", Obstacle::FolderInThePlace},
        {"the earlier file held open", Obstacle::TargetHeldOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        std::string path = folder.withSeparator() + "calendar.html";
        std::vector<std::string> before;
        std::unique_ptr<HeldOpen> holder;
        switch (c.obstacle) {
            case Obstacle::MissingFolder:
                path = folder.withSeparator() + "missing\\calendar.html";
                break;
            case Obstacle::FolderInThePlace:
                std::filesystem::create_directory(path);
                before = {"calendar.html"};
                break;
            case Obstacle::TargetHeldOpen:
                WriteWholeFile(path, "earlier");
                holder = std::make_unique<HeldOpen>(path);
                ASSERT_TRUE(holder->isOpen());
                before = {"calendar.html"};
                break;
        }
        try {
            SaveFileAtomically(path, "new calendar", kSaveStreamError);
            ADD_FAILURE() << "saved without an error";
        } catch (const FileCreateError& error) {
            EXPECT_EQ(error.what(), "Cannot create file " + path);
        }
        holder.reset();
        EXPECT_EQ(folder.entries(), before);
        if (c.obstacle == Obstacle::TargetHeldOpen) {
            EXPECT_EQ(ReadWholeFile(path), "earlier");
        }
    }
}

}  // namespace
}  // namespace tessaly
