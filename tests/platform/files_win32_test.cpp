#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/errors.h"
#include "output/calendar_output.h"
#include "platform/file_save.h"
#include "platform/system.h"
#include "platform/wide_text_win32.h"
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
    enum Obstacle { kMissingFolder, kFolderInThePlace, kTargetHeldOpen, kReadOnly };
    for (const Obstacle obstacle :
         {kMissingFolder, kFolderInThePlace, kTargetHeldOpen, kReadOnly}) {
        SCOPED_TRACE(obstacle);
        test::TempFolder folder;
        std::string path = folder.withSeparator() + "calendar.html";
        HANDLE viewer = INVALID_HANDLE_VALUE;
        if (obstacle == kMissingFolder) {
            path = folder.withSeparator() + "missing\\calendar.html";
        } else if (obstacle == kFolderInThePlace) {
            std::filesystem::create_directory(path);
        } else if (obstacle == kReadOnly) {
            // Refused even for administrators, whom the attribute does not stop from a move.
            WriteWholeFile(path, "earlier");
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
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
            // None of these sends the calendar to another folder.
            EXPECT_FALSE(error.folderClosed());
            EXPECT_FALSE(DescribeReason(error.reason()).empty());
        }
        if (viewer != INVALID_HANDLE_VALUE) {
            ::CloseHandle(viewer);
        }
        if (obstacle == kTargetHeldOpen || obstacle == kReadOnly) {
            EXPECT_EQ(ReadWholeFile(path), "earlier");
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        EXPECT_EQ(folder.entries(), before);
    }
}

struct CliRun {
    DWORD exitCode = 0;
    std::string output;  // standard output and error
};

// tessaly-cli.exe started as a shell starts it: one UTF-16 command line, in `folder`
// (or this process's current folder).
CliRun RunCli(const std::wstring& arguments, const std::wstring& folder = L"") {
    std::wstring program = WideFromUtf8(TESSALY_CLI_PATH);
    std::replace(program.begin(), program.end(), L'/', L'\\');
    std::wstring command = L"\"" + program + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE reader = nullptr, writer = nullptr;
    EXPECT_TRUE(::CreatePipe(&reader, &writer, &inherited, 0));
    ::SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writer;
    PROCESS_INFORMATION process{};
    CliRun run;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        ADD_FAILURE() << "tessaly-cli.exe did not start";
        ::CloseHandle(writer);
        ::CloseHandle(reader);
        return run;
    }
    ::CloseHandle(writer);
    char buffer[512];
    DWORD count = 0;
    while (::ReadFile(reader, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        run.output.append(buffer, count);
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    ::CloseHandle(reader);
    return run;
}

// Folder names the ANSI code page (Windows-1252 here) cannot hold: the saver, and
// tessaly-cli from its command line to the path it prints, work in UTF-16 throughout.
TEST(AnyFolderName, TakesCalendarsAndLeftoversOfEndedRunsGo) {
    for (const std::wstring name : {L"\u65E5\u672C", L"\u0141ukasz"}) {
        test::TempFolder folder;
        const std::string utf8Folder = folder.withSeparator() + Utf8FromWide(name) + "\\";
        ASSERT_TRUE(::CreateDirectoryW(WideFromUtf8(utf8Folder).c_str(), nullptr));
        // Made by an ended process (no such id) and by this one, still running.
        const std::string ended = utf8Folder + ".calendar.html.4294967292.abcdefgh.tmp";
        const std::string running = utf8Folder + ".calendar.html." +
                                    std::to_string(::GetCurrentProcessId()) + ".abcdefgh.tmp";
        for (const auto& leftover : {ended, running}) {
            ::CloseHandle(::CreateFileW(WideFromUtf8(leftover).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        }
        SaveFileAtomically(utf8Folder + "calendar.html", "new", kSaveStreamError);
        EXPECT_EQ(::GetFileAttributesW(WideFromUtf8(ended).c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_NE(::GetFileAttributesW(WideFromUtf8(running).c_str()), INVALID_FILE_ATTRIBUTES);
        ::DeleteFileW(WideFromUtf8(running).c_str());

        const std::wstring output = L"\"" + WideFromUtf8(utf8Folder) + L"\\\"";
        auto run = RunCli(L"--pdf --output " + output);
        EXPECT_EQ(run.exitCode, 0u) << run.output;
        EXPECT_EQ(run.output, utf8Folder + "calendar.pdf\r\n");
        EXPECT_NE(::GetFileAttributesW(WideFromUtf8(utf8Folder + "calendar.pdf").c_str()),
                  INVALID_FILE_ATTRIBUTES);

        // Which file, and the system's reason.
        ::SetFileAttributesW(WideFromUtf8(utf8Folder + "calendar.pdf").c_str(),
                             FILE_ATTRIBUTE_READONLY);
        run = RunCli(L"--pdf --output " + output);
        EXPECT_EQ(run.exitCode, 1u);
        const std::string prefix =
            "tessaly-cli: Cannot create file " + utf8Folder + "calendar.pdf: ";
        EXPECT_EQ(run.output.substr(0, prefix.size()), prefix);
        EXPECT_GT(run.output.size(), prefix.size() + 2) << run.output;
        ::SetFileAttributesW(WideFromUtf8(utf8Folder + "calendar.pdf").c_str(),
                             FILE_ATTRIBUTE_NORMAL);
    }
}

// Names that are no plain file: a descriptor's is written to it as -o - writes standard
// output; a stream's ("name:stream") is refused, the path named as given.
TEST(OutputNames, DescriptorsAreWrittenToAndStreamsRefused) {
    test::TempFolder folder;
    const std::wstring in = WideFromUtf8(folder.withSeparator());
    const auto piped = RunCli(L"--month 2 --year 2021 -o -", in);
    ASSERT_EQ(piped.exitCode, 0u);
    ASSERT_NE(piped.output.find("</html>"), std::string::npos);
    for (const wchar_t* name : {L"/dev/stdout", L"/proc/self/fd/1"}) {
        const auto run = RunCli(std::wstring(L"--month 2 --year 2021 -o ") + name, in);
        EXPECT_EQ(run.exitCode, 0u) << Utf8FromWide(name);
        EXPECT_EQ(run.output, piped.output) << Utf8FromWide(name);
    }
    const auto stream = RunCli(L"--pdf -o calendar.pdf:stream", in);
    EXPECT_EQ(stream.exitCode, 1u);
    const std::string prefix =
        "tessaly-cli: Cannot create file " + folder.withSeparator() + "calendar.pdf:stream: ";
    EXPECT_EQ(stream.output.substr(0, prefix.size()), prefix) << stream.output;
    EXPECT_TRUE(folder.entries().empty());
}

// The year page and the text calendar of the Windows program: a file named by its year,
// and text through a pipe in UTF-8 (lines in CR LF), wide names taking their columns.
TEST(CliYearAndText, AYearPageAndAJapaneseMonthAsText) {
    test::TempFolder folder;
    auto run = RunCli(
        L"--layout year --year 2027 --pdf --week-numbers --color-weekends "
        L"--locale de-DE --output \"" +
        WideFromUtf8(folder.withSeparator()) + L"\\\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.output, folder.withSeparator() + "calendar-2027.pdf\r\n");
    EXPECT_TRUE(ReadWholeFile(folder.path() / "calendar-2027.pdf").starts_with("%PDF-1.4"));

    run = RunCli(L"--format text --month 2 --year 2026 --locale ja-JP");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.output,
              "      2\xE6\x9C\x88 2026\r\n"
              "\xE6\x97\xA5 \xE6\x9C\x88 \xE7\x81\xAB \xE6\xB0\xB4 \xE6\x9C\xA8 "
              "\xE9\x87\x91 \xE5\x9C\x9F\r\n"
              " 1  2  3  4  5  6  7\r\n 8  9 10 11 12 13 14\r\n15 16 17 18 19 20 21\r\n"
              "22 23 24 25 26 27 28\r\n");
}

TEST(Folders, AreFullExistingAndEndInASeparator) {
    const std::string program = ProgramFolder();
    EXPECT_TRUE(std::filesystem::is_regular_file(program + "platform_tests.exe")) << program;
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
