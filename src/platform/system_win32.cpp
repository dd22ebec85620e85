// windows.h first: the shell headers build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "core/errors.h"

#include "platform/system.h"

namespace tessaly {

namespace {

std::string WithBackslash(std::string folder) {
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) {
        folder += '\\';
    }
    return folder;
}

// A wide path in the ANSI code page, or nothing when some character has no byte there
// (such a path could not be opened through the -A functions).
std::optional<std::string> ToAnsiPath(const wchar_t* wide) {
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0,
                                           nullptr, &usedDefault);
    if (size <= 1 || usedDefault) {
        return std::nullopt;
    }
    std::string path(static_cast<size_t>(size), '\0');
    if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, path.data(), size, nullptr,
                              &usedDefault) != size ||
        usedDefault) {
        return std::nullopt;
    }
    path.pop_back();  // the terminating zero
    return path;
}

std::optional<std::string> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR wide = nullptr;
    std::optional<std::string> folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &wide))) {
        folder = ToAnsiPath(wide);
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
    ::ShellExecuteA(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::string ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
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
    return path.substr(0, path.find_last_of('\\') + 1);
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

std::string AbsoluteFolder(const std::string& folder) {
    const std::string relative = folder.empty() ? "." : folder;
    std::string absolute(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameA(
            relative.c_str(), static_cast<DWORD>(absolute.size()), absolute.data(), nullptr);
        if (length == 0) {
            return WithBackslash(folder);
        }
        // Too small a buffer gives the size needed, its terminating zero included.
        if (length < absolute.size()) {
            absolute.resize(length);
            return WithBackslash(absolute);
        }
        absolute.resize(length);
    }
}

bool StandardErrorIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

void WriteToStandardOutput(std::string_view bytes) {
    // Text mode would turn every LF into CR LF.
    std::fflush(stdout);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0) {
        throw TessalyError("Cannot write to standard output");
    }
}

}  // namespace tessaly
