#include <windows.h>

#include <algorithm>

#include "platform/file_save.h"

namespace tessaly {

namespace {

// A fresh file beside the target; CREATE_NEW so it never takes over an existing file.
HANDLE CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Windows takes either separator.
        tempPath = TemporaryPathBeside(path, "\\/");
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

std::optional<SaveFailure> TrySaveFileAtomically(const std::string& path, std::string_view bytes) {
    const auto failed = [](SaveFailure::Step step, DWORD error) {
        return SaveFailure{step, std::error_code(static_cast<int>(error), std::system_category())};
    };
    std::string tempPath;
    const HANDLE file = CreateTemporaryBeside(path, tempPath);
    if (file == INVALID_HANDLE_VALUE) {
        return failed(SaveFailure::Step::Create, ::GetLastError());
    }
    // Flushed before the move: after a crash the target is either the old file or the
    // whole new one.
    const bool written = WriteAll(file, bytes) && ::FlushFileBuffers(file);
    DWORD error = written ? ERROR_SUCCESS : ::GetLastError();
    if (!::CloseHandle(file) && error == ERROR_SUCCESS) {
        error = ::GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        ::DeleteFileA(tempPath.c_str());
        return failed(SaveFailure::Step::Write, error);
    }
    // Fails on a folder in the target's place and on a target another program holds open.
    if (!::MoveFileExA(tempPath.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
        ::DeleteFileA(tempPath.c_str());
        return failed(SaveFailure::Step::Replace, error);
    }
    return std::nullopt;
}

}  // namespace tessaly
