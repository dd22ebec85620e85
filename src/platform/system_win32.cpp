// windows.h first: the shell headers build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "core/errors.h"

#include "platform/system.h"
#include "platform/wide_text_win32.h"

namespace tessaly {

namespace {

std::string WithBackslash(std::string folder) {
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) {
        folder += '\\';
    }
    return folder;
}

std::optional<std::string> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR wide = nullptr;
    std::optional<std::string> folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &wide)) && wide[0] != L'\0') {
        folder = Utf8FromWide(wide);
    }
    ::CoTaskMemFree(wide);
    return folder;
}

}  // namespace

LocalDateTime LocalNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void OpenWithDefaultHandler(const std::string& target) {
    ::ShellExecuteW(nullptr, nullptr, WideFromUtf8(target).c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
}

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return AbsoluteFolder(".");
        }
        // A full buffer means the name was cut short.
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Utf8FromWide(path.substr(0, path.find_last_of(L'\\') + 1));
}

std::optional<std::string> DocumentsFolder() {
    if (auto documents = KnownFolder(FOLDERID_Documents)) {
        return WithBackslash(*documents);
    }
    if (auto profile = KnownFolder(FOLDERID_Profile)) {
        return WithBackslash(*profile);
    }
    return std::nullopt;
}

// Windows itself resolves ".." in a path by its text, so the full path is the folder
// the system will use.
std::string AbsoluteFolder(const std::string& folder) {
    const std::wstring relative = WideFromUtf8(folder.empty() ? "." : folder);
    std::wstring absolute(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameW(
            relative.c_str(), static_cast<DWORD>(absolute.size()), absolute.data(), nullptr);
        if (length == 0) {
            return WithBackslash(folder);
        }
        // Too small a buffer gives the size needed, its terminating zero included.
        if (length < absolute.size()) {
            absolute.resize(length);
            return WithBackslash(Utf8FromWide(absolute));
        }
        absolute.resize(length);
    }
}

std::vector<std::string> CommandLineArguments(int, char**) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int k = 1; wide != nullptr && k < count; ++k) {
        arguments.push_back(Utf8FromWide(wide[k]));
    }
    ::LocalFree(wide);
    return arguments;
}

std::error_code WriteText(std::FILE* stream, std::string_view text) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        const std::wstring wide = WideFromUtf8(text);
        DWORD written = 0;
        if (!wide.empty() && !::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()),
                                              &written, nullptr)) {
            return {static_cast<int>(::GetLastError()), std::system_category()};
        }
        return {};
    }
    // Redirected: the bytes as they are, UTF-8 (an empty text may have no data pointer,
    // which fwrite must not be given).
    if ((!text.empty() && std::fwrite(text.data(), 1, text.size(), stream) != text.size()) ||
        std::fflush(stream) != 0) {
        return {errno, std::generic_category()};
    }
    return {};
}

bool StandardErrorIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

// A console shows escape sequences as such only with virtual terminal processing, which
// Windows 10 and later have.
bool StandardOutputShowsReverseVideo() {
    const HANDLE handle = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !::GetConsoleMode(handle, &mode)) {
        return false;
    }
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
    constexpr DWORD ENABLE_VIRTUAL_TERMINAL_PROCESSING = 0x0004;
#endif
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
           ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

std::error_code WriteToStandardOutput(ByteSpans bytes) {
    // Text mode would turn every LF into CR LF.
    std::fflush(stdout);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    for (const std::string_view span : bytes.spans()) {
        if (!span.empty() && std::fwrite(span.data(), 1, span.size(), stdout) != span.size()) {
            return {errno, std::generic_category()};
        }
    }
    if (std::fflush(stdout) != 0) {
        return {errno, std::generic_category()};
    }
    return {};
}

}  // namespace tessaly
