#include <io.h>
#include <windows.h>

#include <algorithm>
#include <random>

#include "platform/file_save.h"
#include "platform/wide_text_win32.h"

namespace tessaly {

namespace {

SaveFailure Failed(SaveFailure::Step step, DWORD error) {
    // Only a folder that refuses new files is worth trying another folder for.
    const bool folderClosed = step == SaveFailure::Step::Create &&
                              (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT);
    return {step, std::error_code(static_cast<int>(error), std::system_category()), folderClosed};
}

// Whether the process that made a temporary file has ended.
bool ProcessEnded(unsigned long pid) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        return ::GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    }
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

// Removes the temporary copies of `name` whose process has ended: a run killed before
// its move leaves one behind.
void RemoveStaleTemporaries(const std::wstring& folder, const std::wstring& name) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"." + name + L".*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string narrowName = Utf8FromWide(name);
    do {
        const auto owner = TemporaryNameOwner(Utf8FromWide(found.cFileName), narrowName);
        if (owner && *owner != ::GetCurrentProcessId() && ProcessEnded(*owner)) {
            ::DeleteFileW((folder + found.cFileName).c_str());
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// A fresh file beside the target; CREATE_NEW so it never takes over an existing file.
HANDLE CreateTemporary(const std::wstring& folder, const std::wstring& name,
                       std::wstring& temporaryPath) {
    const std::string narrowName = Utf8FromWide(name);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath =
            folder + WideFromUtf8(TemporaryNameFor(narrowName, ::GetCurrentProcessId()));
        const HANDLE file = ::CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
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

// The spans in order, each from where it is.
bool WriteAll(HANDLE file, ByteSpans spans) {
    for (std::string_view bytes : spans.spans()) {
        while (!bytes.empty()) {
            // WriteFile counts in DWORDs; large buffers go in pieces.
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
                return false;
            }
            bytes.remove_prefix(written);
        }
    }
    return true;
}

}  // namespace

// Windows makes no file without a name: the copy is always named.
std::optional<SaveFailure> TrySaveFileAtomically(const std::string& path, ByteSpans bytes,
                                                 TemporaryCopy) {
    // The C runtime's descriptors, as the POSIX names give them (standard error, say).
    if (const auto descriptor = DescriptorNamed(path)) {
        const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(*descriptor));
        if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
            return Failed(SaveFailure::Step::Replace, ERROR_INVALID_HANDLE);
        }
        if (!WriteAll(handle, bytes)) {
            return Failed(SaveFailure::Step::Write, ::GetLastError());
        }
        return std::nullopt;
    }
    const std::wstring target = WideFromUtf8(path);
    // Windows takes either separator.
    const auto separator = target.find_last_of(L"\\/");
    const std::wstring folder =
        separator == std::wstring::npos ? L"" : target.substr(0, separator + 1);
    const std::wstring name = target.substr(folder.size());
    // "calendar.pdf:stream" names a stream of a file, not a file: its temporary copy
    // would be a stream of yet another file.
    if (name.find(L':') != std::wstring::npos) {
        return Failed(SaveFailure::Step::Create, ERROR_INVALID_NAME);
    }

    // A read-only file is refused, even for administrators, as the earlier plain
    // create-and-write refused it; so is a folder in the file's place.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (name.empty() ||
        (attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)) {
        return Failed(SaveFailure::Step::Replace, ERROR_ACCESS_DENIED);
    }
    RemoveStaleTemporaries(folder, name);

    std::wstring temporaryPath;
    const HANDLE file = CreateTemporary(folder, name, temporaryPath);
    if (file == INVALID_HANDLE_VALUE) {
        return Failed(SaveFailure::Step::Create, ::GetLastError());
    }
    // Flushed before the move: after a crash the target is either the old file or the
    // whole new one.
    const bool written = WriteAll(file, bytes) && ::FlushFileBuffers(file);
    DWORD error = written ? ERROR_SUCCESS : ::GetLastError();
    if (!::CloseHandle(file) && error == ERROR_SUCCESS) {
        error = ::GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        ::DeleteFileW(temporaryPath.c_str());
        return Failed(SaveFailure::Step::Write, error);
    }
    // Fails on a target another program holds open.
    if (!::MoveFileExW(temporaryPath.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
        ::DeleteFileW(temporaryPath.c_str());
        return Failed(SaveFailure::Step::Replace, error);
    }
    return std::nullopt;
}

std::string DescribeReason(const std::error_code& reason) {
    if (reason.category() != std::system_category()) {
        return reason.message();
    }
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(reason.value()), 0, reinterpret_cast<wchar_t*>(&text), 0,
        nullptr);
    std::string words = length > 0 ? Utf8FromWide(std::wstring_view(text, length))
                                   : "Windows error " + std::to_string(reason.value());
    ::LocalFree(text);
    // The system's sentences end in a full stop and a line end; a message goes on after it.
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ' ||
                              words.back() == '.')) {
        words.pop_back();
    }
    return words;
}

// rand_s, without a generator's state to set up for a name or two a run.
std::uint64_t RandomBitsForName() {
    std::random_device device;
    return std::uint64_t{device()} << 32 | device();
}

}  // namespace tessaly
