#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#endif

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/errors.h"
#include "core/product.h"
#include "output/calendar_output.h"
#include "platform/file_save.h"
#include "settings/settings_store_posix.h"
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

// Root passes every permission check; without these capabilities it meets the folder's
// mode bits as its owner would. Capabilities belong to the thread; they come back at the
// end of the scope.
class WithoutPermissionOverride {
#ifdef __linux__
  public:
    WithoutPermissionOverride() {
        ::syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        ::syscall(SYS_capset, &header_, lowered);
    }
    ~WithoutPermissionOverride() {
        ::syscall(SYS_capset, &header_, saved_);
    }

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
#endif
};

// The window's calendar path without a window: only the HTML page is made.
struct HtmlServices : CalendarServices {
    LocaleNames names = WithEnglishFallback({});
    const LocaleNames& UserLocaleNames() override { return names; }
    EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest&) override { return {}; }
    LocalDateTime Now() override { return {2026, 1, 1, 0, 0, 0}; }
    ScreenResolution ScreenDpi() override { return {96, 96}; }
    int TextWidthInWindowFont(const std::string&) override { return 0; }
    void SaveFile(const std::string& path, ByteSpans bytes,
                  const std::string& writeErrorMessage) override {
        SaveFileAtomically(path, bytes, writeErrorMessage);
    }
};

// Makes `path` a file holding `text` with `mode`.
void PutFile(const std::string& path, const std::string& text, mode_t mode) {
    test::WriteWholeFile(path, text);
    ::chmod(path.c_str(), mode);
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

// One save through the calendar path and one through the settings store, over each kind
// of target they may meet. Root and other users see the same results.
TEST(SaveOverExistingTargets, KeepsProtectionsAndLinksAndLeavesNoDebris) {
    // Without the settings section: a first start adds it, through any link.
    const std::string earlier = "; written by hand\n";
    const std::string kRefusedSetting = "Failed to set data for 'PDF'";
    struct Place {
        std::string folder;  // of the target, with its separator; a row may move it
        std::string name;    // calendar.html or Tessaly.conf
        std::string path() const { return folder + name; }
    };
    struct Outcome {
        std::string result;  // "saved", "elsewhere" (the fallback folder), "stored", or the error
        mode_t mode;         // of the written file afterwards; 0: there is none
        bool replaced;       // else it still holds the earlier text
    };
    struct Row {
        const char* kind;
        std::function<void(Place&)> prepare;
        std::string written;  // the file the text lands in, {path} being the target
        Outcome calendar, setting;
    };
    const pid_t ended = EndedProcess();
    const std::string endedLeftover = "." + std::to_string(ended) + ".abcdefgh.tmp";
    const std::string liveLeftover = ".1.abcdefgh.tmp";  // pid 1 always runs
    const Outcome refused{kRefusedSetting, 0644, false};
    const Row rows[] = {
        {"symbolic link",
         [&](Place& p) {
             std::filesystem::create_directory(p.folder + "real");
             PutFile(p.folder + "real/" + p.name, earlier, 0640);
             std::filesystem::create_symlink("real/" + p.name, p.path());
         },
         "{folder}real/{name}",
         {"saved", 0640, true},
         {"stored", 0640, true}},
        {"symbolic link leading nowhere",
         [&](Place& p) { std::filesystem::create_symlink("nowhere", p.path()); },
         "{folder}nowhere",
         {"Cannot create file {path}: No such file or directory", 0, false},
         {kRefusedSetting, 0, false}},
        {"write-protected file",
         [&](Place& p) { PutFile(p.path(), earlier, 0444); },
         "{path}",
         {"Cannot create file {path}: Permission denied", 0444, false},
         {kRefusedSetting, 0444, false}},
        {"private file",
         [&](Place& p) { PutFile(p.path(), earlier, 0600); },
         "{path}",
         {"saved", 0600, true},
         {"stored", 0600, true}},
        {"leftovers of an ended and a running save",
         [&](Place& p) {
             PutFile(p.path(), earlier, 0644);
             PutFile(p.folder + "." + p.name + endedLeftover, "half", 0644);
             PutFile(p.folder + "." + p.name + liveLeftover, "half", 0644);
         },
         "{path}",
         {"saved", 0644, true},
         {"stored", 0644, true}},
        {"full disk",
         [&](Place& p) { PutFile(p.path(), earlier, 0644); },
         "{path}",
         {std::string(kSaveStreamError) + ": File too large", 0644, false},
         refused},
        // The settings store makes its folder; a calendar's folder must exist.
        {"missing folder",
         [&](Place& p) { p.folder += "missing/"; },
         "{path}",
         {"Cannot create file {path}: No such file or directory", 0, false},
         {"stored", 0644, true}},
        {"folder in the file's place",
         [&](Place& p) { std::filesystem::create_directory(p.path()); },
         "{path}",
         {"Cannot create file {path}: Is a directory", 0755, false},
         {kRefusedSetting, 0755, false}},
        // An installed copy: the calendar goes to the documents folder instead.
        {"folder that takes no new files",
         [&](Place& p) {
             PutFile(p.path(), earlier, 0644);
             ::chmod(p.folder.c_str(), 0555);
         },
         "{path}",
         {"elsewhere", 0644, false},
         refused},
    };
    const mode_t oldMask = ::umask(022);
    for (const auto& row : rows) {
        for (const bool setting : {false, true}) {
            SCOPED_TRACE(std::string(row.kind) + (setting ? ", setting" : ", calendar"));
            test::TempFolder folder, documents;
            Place place{folder.withSeparator(), setting ? "Tessaly.conf" : kHtmlFileName};
            row.prepare(place);
            const auto expand = [&](std::string text) {
                for (const auto& [key, value] : {std::pair{"{path}", place.path()},
                                                 {"{folder}", folder.withSeparator()},
                                                 {"{name}", place.name}}) {
                    for (auto at = text.find(key); at != std::string::npos; at = text.find(key)) {
                        text.replace(at, std::string_view(key).size(), value);
                    }
                }
                return text;
            };

            const bool fullDisk = std::string_view(row.kind) == "full disk";
            rlimit saved{};
            ::getrlimit(RLIMIT_FSIZE, &saved);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            if (fullDisk) {
                rlimit small = saved;
                small.rlim_cur = 16;
                ::setrlimit(RLIMIT_FSIZE, &small);
            }
            std::string result;
            {
                // Root included: only a closed folder needs root to act as a user.
                std::optional<WithoutPermissionOverride> asAUser;
                if (std::string_view(row.kind) == "folder that takes no new files") {
                    asAUser.emplace();
                }
                if (setting) {
                    SettingsFile store(place.path());
                    try {
                        RegWriteInteger(store, kSettingsKey, "PDF", 1);
                        result = "stored";
                    } catch (const TessalyError& error) {
                        result = error.what();
                    }
                } else {
                    HtmlServices services;
                    NameTable names;
                    std::vector<std::string> lines;
                    try {
                        const std::string written = MakeCalendarFile(
                            {}, names, lines, {place.folder, documents.withSeparator()}, services);
                        result = written == place.path()                             ? "saved"
                                 : written == documents.withSeparator() + place.name ? "elsewhere"
                                                                                     : written;
                    } catch (const FileSaveError& error) {
                        result = std::string(error.what()) + ": " + DescribeReason(error.reason());
                    }
                }
            }
            ::setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
            ::chmod(folder.path().c_str(), 0755);

            const Outcome& expected = setting ? row.setting : row.calendar;
            EXPECT_EQ(result, expand(expected.result));
            const std::string written = expand(row.written);
            EXPECT_EQ(ModeOf(written), expected.mode) << written;
            if (expected.mode != 0 && std::filesystem::is_regular_file(written)) {
                const std::string text = test::ReadWholeFile(written);
                EXPECT_EQ(text != earlier, expected.replaced) << text;
            }
            if (std::filesystem::is_symlink(folder.path() / place.name)) {
                EXPECT_FALSE(std::filesystem::exists(folder.path() / "nowhere"));
            }
            // No temporary copy stays, but that of a save still running.
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) {
                const std::string name = entry.path().filename().string();
                if (TemporaryNameOwner(name, place.name)) {
                    EXPECT_EQ(name, "." + place.name + liveLeftover);
                }
            }
        }
    }
    ::umask(oldMask);
}

// A run killed part way through its write (by the file size limit's signal, as sudden
// as a kill -9) leaves nothing where its copy has no name yet; a named copy it leaves is
// removed by the next save.
TEST(FileSave, ARunKilledWhileWritingLeavesNothingForLong) {
    for (const auto copy : {TemporaryCopy::UnnamedWherePossible, TemporaryCopy::Named}) {
        test::TempFolder folder;
        const std::string path = folder.withSeparator() + "calendar.pdf";
        test::WriteWholeFile(path, "earlier");
        const pid_t child = ::fork();
        if (child == 0) {
            ::prctl(PR_SET_DUMPABLE, 0);  // no core file
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit small{};
            ::getrlimit(RLIMIT_FSIZE, &small);
            small.rlim_cur = 4096;
            ::setrlimit(RLIMIT_FSIZE, &small);
            TrySaveFileAtomically(path, std::string(100000, 'x'), copy);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
        EXPECT_EQ(test::ReadWholeFile(path), "earlier");
        EXPECT_EQ(folder.entries().size(), copy == TemporaryCopy::Named ? 2u : 1u);

        SaveFileAtomically(path, "new", kSaveStreamError);
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"calendar.pdf"});
    }
}

// A device or a pipe (/dev/null, /dev/stdout, a FIFO) takes the bytes, through a link
// too; it is not replaced by a file, nor joined by a temporary one.
TEST(FileSave, APipeIsWrittenToNotReplaced) {
    test::TempFolder folder;
    const std::string fifo = folder.withSeparator() + "calendar.pdf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::filesystem::create_symlink("calendar.pdf", folder.path() / "link.pdf");
    // Its reading end, held open, so that no save waits for a reader; what the saves
    // write fits in the pipe.
    const int reader = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const std::string samples(10000, 'x');
    const std::string_view spans[] = {"%PDF\r\n", samples, "%%EOF\r\n"};
    for (const char* name : {"calendar.pdf", "link.pdf"}) {
        SaveFileAtomically(folder.withSeparator() + name, ByteSpans(spans), kSaveStreamError);
        std::string received(3 * samples.size(), '\0');
        received.resize(static_cast<size_t>(
            std::max<ssize_t>(0, ::read(reader, received.data(), received.size()))));
        EXPECT_EQ(received, "%PDF\r\n" + samples + "%%EOF\r\n") << name;
        EXPECT_TRUE(std::filesystem::is_fifo(fifo));
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{"calendar.pdf", "link.pdf"}));
    }
    ::close(reader);
}

TEST(TemporaryNames, CarryTheProcessThatMadeThem) {
    const std::string name = TemporaryNameFor("calendar.pdf", 4321);
    EXPECT_EQ(name.substr(0, 19), ".calendar.pdf.4321.");
    EXPECT_EQ(TemporaryNameOwner(name, "calendar.pdf"), 4321u);
    for (const char* other : {".calendar.pdf.4321.abcdefg.tmp", ".calendar.pdf..abcdefgh.tmp",
                              ".calendar.pdf.43x1.abcdefgh.tmp", ".calendar.html.4321.abcdefgh.tmp",
                              "calendar.pdf.4321.abcdefgh.tmp", ".calendar.pdf.4321.ABCDEFGH.tmp",
                              ".calendar.pdf.4321.abcdefgh.tm"}) {
        EXPECT_FALSE(TemporaryNameOwner(other, "calendar.pdf")) << other;
    }
}

}  // namespace
}  // namespace tessaly
