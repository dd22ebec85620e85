// The user's cache folder of the program, and its files: read and written only as the
// user's own regular files, never through a link.
#include "fonts/cache_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace tessaly {

namespace {

// A folder of this user's, made if missing, not a link: the cache is written nowhere else.
int OpenOwnFolder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    }
    ::mkdir(path.c_str(), 0700);
    const int folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat status {};
    if (folder >= 0 && (::fstat(folder, &status) != 0 || status.st_uid != ::geteuid())) {
        ::close(folder);
        return -1;
    }
    return folder;
}

}  // namespace

FileStamp StampOf(const std::string& path) {
    FileStamp stamp{path, false, 0, 0};
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        stamp.exists = true;
        stamp.size = status.st_size;
        stamp.modifiedNs =
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    }
    return stamp;
}

// Where the cache is; nothing without a home, or where fontconfig is pointed elsewhere
// by its own variables (their files are not known here).
std::optional<std::string> CacheFolder() {
    for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT"}) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
            return std::nullopt;
        }
    }
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        return std::string(cache) + "/tessaly";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.cache/tessaly";
    }
    return std::nullopt;
}

// The cache file's text: a regular file of this user's, not a link, of a bounded size.
std::optional<std::string> ReadCacheFile(const std::string& path, std::size_t most) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (file < 0) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    struct stat status {};
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
        status.st_size >= 0 && static_cast<std::size_t>(status.st_size) <= most) {
        text.emplace(static_cast<std::size_t>(status.st_size), '\0');
        std::size_t done = 0;
        while (done < text->size()) {
            const ssize_t got = ::read(file, text->data() + done, text->size() - done);
            if (got <= 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        text->resize(done);
    }
    ::close(file);
    return text;
}

void WriteCacheFile(const std::string& folderPath, const std::string& name, std::string_view text) {
    const int folder = OpenOwnFolder(folderPath);
    if (folder < 0) {
        return;
    }
    const std::string temporary = name + "." + std::to_string(::getpid());
    ::unlinkat(folder, temporary.c_str(), 0);  // left by a run that stopped
    const int file = ::openat(folder, temporary.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file >= 0) {
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t written = ::write(file, text.data() + done, text.size() - done);
            if (written <= 0) {
                break;
            }
            done += static_cast<std::size_t>(written);
        }
        const bool whole = ::close(file) == 0 && done == text.size();
        if (!whole || ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
            ::unlinkat(folder, temporary.c_str(), 0);
        }
    }
    ::close(folder);
}

}  // namespace tessaly
