#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "core/errors.h"
#include "output/calendar_output.h"
#include "platform/file_save.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

TEST(FileSave, ReplacesTheFileWholeAndLeavesNothingElse) {
    test::TempFolder folder;
    const std::string path = folder.withSeparator() + "calendar.html";
    SaveFileAtomically(path, "first\r\n", kSaveStreamError);
    SaveFileAtomically(path, "second\r\n", kSaveStreamError);
    EXPECT_EQ(test::ReadWholeFile(path), "second\r\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"calendar.html"});
}

TEST(FileSave, CannotCreateNamesTheFullPathAndKeepsTheEarlierFile) {
    test::TempFolder folder;
    struct Case {
        std::string path;
        std::function<void()> prepare;
        SaveFailure::Step step;  // what the non-throwing form reports
    };
    const std::string missing = folder.withSeparator() + "missing/calendar.html";
    const std::string directory = folder.withSeparator() + "taken";
    const std::string locked = folder.withSeparator() + "locked/calendar.html";
    const Case cases[] = {
        {missing, [] {}, SaveFailure::Step::Create},
        // A folder where the file should be is not replaced.
        {directory, [&] { std::filesystem::create_directory(directory); },
         SaveFailure::Step::Replace},
        // A folder without write permission (root ignores permissions, so skip there).
        {locked,
         [&] {
             std::filesystem::create_directory(folder.withSeparator() + "locked");
             test::WriteWholeFile(locked, "earlier");
             std::filesystem::permissions(
                 folder.withSeparator() + "locked",
                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
         },
         SaveFailure::Step::Create},
    };
    for (const auto& c : cases) {
        c.prepare();
        if (c.path == locked && ::geteuid() == 0) {
            continue;
        }
        try {
            SaveFileAtomically(c.path, "new", kSaveStreamError);
            ADD_FAILURE() << "saved " << c.path;
        } catch (const FileCreateError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot create file " + c.path);
            EXPECT_EQ(error.path(), c.path);
        }
        const auto failure = TrySaveFileAtomically(c.path, "new");
        ASSERT_TRUE(failure) << c.path;
        EXPECT_EQ(failure->step, c.step) << c.path;
        EXPECT_TRUE(failure->reason) << c.path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    if (::geteuid() != 0) {
        EXPECT_EQ(test::ReadWholeFile(locked), "earlier");
    }
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"locked", "taken"}));
}

// A file size limit makes the write fail part way, as a full disk does.
TEST(FileSave, AFailedWriteKeepsTheEarlierFileAndLeavesNoTemporary) {
    test::TempFolder folder;
    const std::string path = folder.withSeparator() + "calendar.html";
    test::WriteWholeFile(path, "earlier");

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        SaveFileAtomically(path, std::string(100000, 'x'), kSaveStreamError);
    } catch (const TessalyError& error) {
        message = error.what();
    }
    const auto failure = TrySaveFileAtomically(path, std::string(100000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(message, "Failed to Save Stream");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->step, SaveFailure::Step::Write);
    EXPECT_EQ(failure->reason, std::errc::file_too_large);
    EXPECT_EQ(test::ReadWholeFile(path), "earlier");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"calendar.html"});
}

}  // namespace
}  // namespace tessaly
