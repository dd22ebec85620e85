#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_save.h"

namespace tessaly {

namespace {

// Opens a fresh hidden file beside the target; O_EXCL so it never takes over an
// existing file.
int CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = TemporaryPathBeside(path, "/");
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

std::optional<SaveFailure> TrySaveFileAtomically(const std::string& path, std::string_view bytes) {
    const auto failed = [](SaveFailure::Step step, int error) {
        return SaveFailure{step, std::error_code(error, std::generic_category())};
    };
    std::string tempPath;
    const int fd = CreateTemporaryBeside(path, tempPath);
    if (fd < 0) {
        return failed(SaveFailure::Step::Create, errno);
    }
    // fsync before rename: after a crash the target is either the old file or the
    // whole new one.
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return failed(SaveFailure::Step::Write, error);
    }
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        ::unlink(tempPath.c_str());
        return failed(SaveFailure::Step::Replace, EISDIR);
    }
    if (::rename(tempPath.c_str(), path.c_str()) != 0) {
        error = errno;
        ::unlink(tempPath.c_str());
        return failed(SaveFailure::Step::Replace, error);
    }
    return std::nullopt;
}

}  // namespace tessaly
