#include <windows.h>

#include <algorithm>
#include <random>

#include "core/errors.h"
#include "platform/file_save.h"

namespace tessaly {

namespace {

// Windows takes either separator.
size_t LastSeparator(const std::string& path) {
    return path.find_last_of("\\/");
}

std::string FolderOf(const std::string& path) {
    const auto separator = LastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string NameOf(const std::string& path) {
    const auto separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// A fresh file beside the target; CREATE_NEW so it never takes over an existing file.
HANDLE CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
    std::random_device seed;
    std::mt19937 random(seed());
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix(8, ' ');
        for (char& c : suffix) {
            c = kAlphabet[random() % (sizeof kAlphabet - 1)];
        }
        tempPath = FolderOf(path) + "." + NameOf(path) + "." + suffix + ".tmp";
        const HANDLE file = ::CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return file;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        // WriteFile counts in DWORDs; large buffers go in pieces.
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

void SaveFileAtomically(const std::string& path, std::string_view bytes,
                        const std::string& writeErrorMessage) {
    std::string tempPath;
    const HANDLE file = CreateTemporaryBeside(path, tempPath);
    if (file == INVALID_HANDLE_VALUE) {
        throw FileCreateError(path);
    }
    // Flushed before the move: after a crash the target is either the old file or the
    // whole new one.
    const bool written = WriteAll(file, bytes) && ::FlushFileBuffers(file);
    const bool closed = ::CloseHandle(file) != 0;
    if (!written || !closed) {
        ::DeleteFileA(tempPath.c_str());
        throw TessalyError(writeErrorMessage);
    }
    // Fails on a folder in the target's place and on a target another program holds open.
    if (!::MoveFileExA(tempPath.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(tempPath.c_str());
        throw FileCreateError(path);
    }
}

}  // namespace tessaly
