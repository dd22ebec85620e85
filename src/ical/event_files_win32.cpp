// iCalendar files on Windows: read whole through the wide API (any name), then by the
// reader itself, which tessaly-cli.exe carries.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <system_error>

#include "ical/event_files.h"
#include "ical/ical_reader.h"
#include "platform/file_save.h"
#include "platform/wide_text_win32.h"

namespace tessaly {

namespace {

// Why a file cannot be opened, in the words the C library gives on Linux for the
// failures both systems know, else in the system's.
std::string OpenFailure(const std::wstring& path, DWORD error) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    std::error_code reason(static_cast<int>(error), std::system_category());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        reason = std::make_error_code(std::errc::is_a_directory);
    } else if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
               error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH) {
        reason = std::make_error_code(std::errc::no_such_file_or_directory);
    } else if (error == ERROR_ACCESS_DENIED) {
        reason = std::make_error_code(std::errc::permission_denied);
    }
    return DescribeReason(reason);
}

// The whole file; why, when it cannot be read.
std::optional<std::string> ReadWhole(const std::string& path, std::string& text) {
    const std::wstring wide = WideFromUtf8(path);
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return OpenFailure(wide, ::GetLastError());
    }
    std::optional<std::string> failure;
    LARGE_INTEGER fileSize{};
    std::size_t expected = 1 << 16;
    if (::GetFileType(file) == FILE_TYPE_DISK && ::GetFileSizeEx(file, &fileSize)) {
        expected = std::min(static_cast<std::size_t>(fileSize.QuadPart), kMostFileBytes) + 1;
    }
    std::size_t size = 0;
    for (;;) {
        if (size == text.size()) {
            text.resize(std::max(expected, 2 * text.size()));
        }
        DWORD got = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(text.size() - size, 1 << 30));
        if (!::ReadFile(file, text.data() + size, wanted, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            // A pipe whose writer is done has ended.
            if (error != ERROR_BROKEN_PIPE) {
                failure = DescribeReason({static_cast<int>(error), std::system_category()});
            }
            break;
        }
        if (got == 0) {
            break;
        }
        size += got;
        if (size > kMostFileBytes) {
            failure = "larger than " + std::to_string(kMostFileBytes >> 20) + " MB";
            break;
        }
    }
    ::CloseHandle(file);
    text.resize(size);
    return failure;
}

}  // namespace

EventFilesRead ReadEventFiles(const std::vector<std::string>& paths, DayRange days) {
    EventFilesRead read;
    const auto deadline = std::chrono::steady_clock::now() + kMostRecurrenceTime;
    try {
        for (const std::string& path : paths) {
            std::string text;
            if (const auto reason = ReadWhole(path, text)) {
                read.error = path + ": " + *reason;
                break;
            }
            ReadICalendarEvents(path, text, days, read.events, read.warnings, deadline);
        }
    } catch (const std::exception& error) {
        read.error = error.what();
    }
    return read;
}

}  // namespace tessaly
