#include "support/host_command.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include "support/test_files.h"

namespace tessaly::test {

std::string HostQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

namespace {

#ifdef _WIN32
// Wine's own functions between Windows and Unix paths; none on Windows itself.
using PathConversion = char*(__cdecl*)(const wchar_t*);
using DosConversion = wchar_t*(__cdecl*)(const char*);

PathConversion UnixFileName() {
    return reinterpret_cast<PathConversion>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}
DosConversion DosFileName() {
    return reinterpret_cast<DosConversion>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
}

std::wstring Wide(const std::string& utf8) {
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          size);
    return wide;
}

// One argument of a Windows command line, as the C runtime splits them.
std::wstring ArgumentQuoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}
#endif

}  // namespace

#ifdef _WIN32

bool HostCommandsRun() {
    return UnixFileName() != nullptr && DosFileName() != nullptr;
}

std::string HostPath(const std::filesystem::path& path) {
    const PathConversion convert = UnixFileName();
    char* unix = convert != nullptr ? convert(path.wstring().c_str()) : nullptr;
    if (unix == nullptr) {
        return HostQuoted(path.string());
    }
    const std::string converted(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return HostQuoted(converted);
}

CommandRun RunHostCommand(const std::string& command) {
    CommandRun run;
    const DosConversion dos = DosFileName();
    wchar_t* shell = dos != nullptr ? dos("/bin/sh") : nullptr;
    if (shell == nullptr) {
        return run;
    }
    // Wine neither waits for a Unix program nor learns how it ended, and a pipe ends for
    // its reader when the handle it was given is closed: the command writes its output
    // and then its status into files, the status last, and is waited for by that file.
    const TempFolder folder;
    const std::filesystem::path output = folder.path() / "output";
    const std::filesystem::path status = folder.path() / "status";
    std::wstring line =
        ArgumentQuoted(shell) + L" -c " +
        ArgumentQuoted(Wide("(" + command + "\n) >" + HostPath(output) + "; echo $? >" +
                            HostPath(status.string() + ".part") + " && mv " +
                            HostPath(status.string() + ".part") + " " + HostPath(status)));
    ::HeapFree(::GetProcessHeap(), 0, shell);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE nothing =
        ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = nothing;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &startup, &process);
    ::CloseHandle(nothing);
    if (!started) {
        return run;
    }
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    constexpr int kMostWaits = 600000;  // ten minutes, a millisecond each
    for (int wait = 0; wait < kMostWaits && !std::filesystem::exists(status); ++wait) {
        ::Sleep(1);
    }
    if (std::filesystem::exists(status)) {
        run.output = ReadWholeFile(output);
        run.exitCode = std::atoi(ReadWholeFile(status).c_str());
    }
    return run;
}

#else

bool HostCommandsRun() {
    return true;
}

std::string HostPath(const std::filesystem::path& path) {
    return HostQuoted(path.string());
}

CommandRun RunHostCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char chunk[4096];
    for (std::size_t got = 0; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        run.output.append(chunk, got);
    }
    const int status = ::pclose(pipe);
    run.exitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

#endif

}  // namespace tessaly::test
