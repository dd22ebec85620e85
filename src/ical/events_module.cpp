// The entry point of libtessaly-events.so: the files read whole, then their events.
#include <fcntl.h>
#include <libical/ical.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "ical/events_module.h"
#include "ical/ical_reader.h"

namespace tessaly {

namespace {

// The whole file; the system's reason when it cannot be read.
std::optional<std::string> ReadWhole(const std::string& path, std::string& text) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return std::strerror(errno);
    }
    struct stat status {};
    std::size_t expected = 1 << 16;
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
        expected = std::min(static_cast<std::size_t>(status.st_size), kMostFileBytes) + 1;
    }
    std::optional<std::string> failure;
    std::size_t size = 0;
    for (;;) {
        if (size == text.size()) {
            text.resize(std::max(expected, 2 * text.size()));
        }
        const ::ssize_t got = ::read(file, text.data() + size, text.size() - size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failure = std::strerror(errno);
            break;
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
        if (size > kMostFileBytes) {
            failure = "larger than " + std::to_string(kMostFileBytes >> 20) + " MB";
            break;
        }
    }
    ::close(file);
    text.resize(size);
    return failure;
}

void ReadFiles(const std::vector<std::string>& paths, std::int32_t firstDay, std::int32_t lastDay,
               EventFilesRead& read) {
    const auto deadline = std::chrono::steady_clock::now() + kMostRecurrenceTime;
    try {
        for (const std::string& path : paths) {
            std::string text;
            if (const auto reason = ReadWhole(path, text)) {
                read.error = path + ": " + *reason;
                break;
            }
            ReadICalendarEvents(path, text, {firstDay, lastDay}, read.events, read.warnings,
                                deadline);
        }
    } catch (const std::exception& error) {
        read.error = error.what();
    }
    icaltimezone_free_builtin_timezones();
}

constexpr EventsModule kModule{kEventsModuleVersion, ReadFiles};

}  // namespace

}  // namespace tessaly

extern "C" __attribute__((visibility("default"))) const tessaly::EventsModule* TessalyModule() {
    return &tessaly::kModule;
}
