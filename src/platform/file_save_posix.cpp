#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "platform/file_save.h"

// Without O_PATH a folder is opened for reading, which the folder must then allow.
#ifndef O_PATH
#define O_PATH O_RDONLY
#endif

namespace tessaly {

namespace {

// Longer chains are taken for loops, as the kernel takes them.
constexpr int kMostLinks = 40;

SaveFailure Failed(SaveFailure::Step step, int error) {
    // Only a folder that refuses new files is worth trying another folder for.
    const bool folderClosed =
        step == SaveFailure::Step::Create && (error == EACCES || error == EPERM || error == EROFS);
    return {step, std::error_code(error, std::generic_category()), folderClosed};
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closes it now; the error of the close, or 0.
    int Reset(int fd = -1) {
        int error = 0;
        if (fd_ >= 0 && ::close(fd_) != 0) {
            error = errno;
        }
        fd_ = fd;
        return error;
    }

  private:
    int fd_;
};

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether the system would not follow the link `path` (`link`, its lstat) under
// fs.protected_symlinks: a link in a sticky folder that anyone can write, owned neither
// by this user nor by the folder's owner. The saver follows links itself, where the
// system's rule is never asked, so it asks it here.
bool ProtectedLink(const std::string& path, const struct stat& link) {
    struct stat folder {};
    return S_ISLNK(link.st_mode) && ::stat(FolderOf(path).c_str(), &folder) == 0 &&
           (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0 &&
           link.st_uid != ::geteuid() && link.st_uid != folder.st_uid;
}

SaveFailure RefusedLink(const std::string& link) {
    SaveFailure failure = Failed(SaveFailure::Step::Replace, EACCES);
    failure.detail = link + " is another user's link in " + FolderOf(link) +
                     ", a sticky folder that anyone can write to: it is not followed";
    return failure;
}

// Refuses a path any of whose parts (the last one too) is such a link.
std::optional<SaveFailure> ProtectedLinkOnTheWay(const std::string& path) {
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string part = path.substr(0, end);
        if (struct stat info{}; ::lstat(part.c_str(), &info) == 0 && ProtectedLink(part, info)) {
            return RefusedLink(part);
        }
        if (end == std::string::npos) {
            return std::nullopt;
        }
    }
}

// The file `path` leads to through symbolic links: the link's target is written, never
// the link itself. Fails on a link that leads nowhere (or around in a loop), naming its
// missing target, and on a link the system would not follow.
std::optional<SaveFailure> FollowLinks(std::string& path) {
    for (int links = 0; links <= kMostLinks; ++links) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            // A missing file is made anew; a missing file at the end of a link is not.
            if (links == 0) {
                return std::nullopt;
            }
            SaveFailure failure = Failed(SaveFailure::Step::Replace, errno);
            if (failure.reason == std::errc::no_such_file_or_directory) {
                failure.detail = "it is a link to " + path + ", which is missing";
            }
            return failure;
        }
        if (!S_ISLNK(info.st_mode)) {
            return std::nullopt;
        }
        if (ProtectedLink(path, info)) {
            return RefusedLink(path);
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return Failed(SaveFailure::Step::Replace, errno);
        }
        target.resize(static_cast<size_t>(length));
        path = target.starts_with('/') ? target : FolderOf(path) + "/" + target;
    }
    return Failed(SaveFailure::Step::Replace, ELOOP);
}

// The target as it stands, when it exists; fails when it may not be replaced. A file
// without any write permission is refused even for root, as the earlier plain
// create-and-write refused it for its owner.
std::optional<SaveFailure> CheckTarget(int folder, const std::string& name,
                                       std::optional<struct stat>& existing) {
    struct stat info {};
    if (name.empty()) {
        return Failed(SaveFailure::Step::Replace, EISDIR);
    }
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? std::nullopt
                               : std::optional(Failed(SaveFailure::Step::Replace, errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return Failed(SaveFailure::Step::Replace, EISDIR);
    }
    if ((info.st_mode & 0222) == 0) {
        return Failed(SaveFailure::Step::Replace, EACCES);
    }
    if (::faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0) {
        return Failed(SaveFailure::Step::Replace, errno);
    }
    existing = info;
    return std::nullopt;
}

// Removes the temporary copies of `name` whose process has ended: a run killed before
// its rename leaves one when the system cannot make files without names.
void RemoveStaleTemporaries(int folder, const std::string& name) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return;
    }
    DIR* entries = ::fdopendir(listing);
    if (entries == nullptr) {
        ::close(listing);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const auto owner = TemporaryNameOwner(entry->d_name, name);
        if (owner && *owner <= static_cast<unsigned long>(INT_MAX) &&
            ::kill(static_cast<pid_t>(*owner), 0) != 0 && errno == ESRCH) {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
    ::closedir(entries);
}

// The spans in order, in as few writev calls as the system allows: a document's pieces
// go to the file from where they are, without being joined first.
bool WriteAll(int fd, ByteSpans bytes) {
    std::vector<iovec> pending;
    pending.reserve(bytes.spans().size());
    for (const std::string_view span : bytes.spans()) {
        if (!span.empty()) {
            pending.push_back({const_cast<char*>(span.data()), span.size()});
        }
    }
    size_t first = 0;
    while (first < pending.size()) {
        const int count = static_cast<int>(std::min<size_t>(pending.size() - first, IOV_MAX));
        ssize_t written = ::writev(fd, &pending[first], count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        // A short write ends anywhere, even inside a span.
        while (first < pending.size() && static_cast<size_t>(written) >= pending[first].iov_len) {
            written -= static_cast<ssize_t>(pending[first].iov_len);
            ++first;
        }
        if (written > 0) {
            pending[first].iov_base = static_cast<char*>(pending[first].iov_base) + written;
            pending[first].iov_len -= static_cast<size_t>(written);
        }
    }
    return true;
}

// A device or a pipe (/dev/null, /dev/stdout, a FIFO) has no contents to replace:
// it takes the bytes as a shell's redirection gives them. Replacing it with a file
// would break it for every other program.
std::optional<SaveFailure> WriteInPlace(const std::string& path, ByteSpans bytes) {
    Descriptor stream(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (stream.get() < 0) {
        return Failed(SaveFailure::Step::Replace, errno);
    }
    if (!WriteAll(stream.get(), bytes)) {
        return Failed(SaveFailure::Step::Write, errno);
    }
    if (const int error = stream.Reset(); error != 0) {
        return Failed(SaveFailure::Step::Write, error);
    }
    return std::nullopt;
}

// The replaced file's owner, group and permission bits on its successor, as far as
// this process may give them.
void TakeOverProtection(int fd, const std::optional<struct stat>& existing) {
    if (!existing) {
        return;
    }
    [[maybe_unused]] int ignored = ::fchown(fd, static_cast<uid_t>(-1), existing->st_gid);
    if (::geteuid() == 0) {
        ignored = ::fchown(fd, existing->st_uid, static_cast<gid_t>(-1));
    }
    ::fchmod(fd, existing->st_mode & 0777);
}

// The bytes in a new file of the folder, flushed, under a temporary name carrying the
// pid. The file gets its name only when whole, where the system allows (O_TMPFILE):
// a kill before that leaves nothing.
std::optional<SaveFailure> WriteTemporary(int folder, const std::string& name, ByteSpans bytes,
                                          const std::optional<struct stat>& existing,
                                          std::string& temporaryName,
                                          [[maybe_unused]] bool withoutName) {
    const auto pid = static_cast<unsigned long>(::getpid());
    Descriptor file;
    bool named = true;
#ifdef O_TMPFILE
    if (withoutName) {
        file.Reset(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (file.get() < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return Failed(SaveFailure::Step::Create, errno);
        }
        named = file.get() < 0;
    }
#endif
    for (int attempt = 0; named && file.get() < 0 && attempt < 100; ++attempt) {
        temporaryName = TemporaryNameFor(name, pid);
        file.Reset(
            ::openat(folder, temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.get() < 0 && errno != EEXIST) {
            break;
        }
    }
    if (file.get() < 0) {
        return Failed(SaveFailure::Step::Create, errno);
    }
    const auto discard = [&](int error) {
        file.Reset();
        if (named) {
            ::unlinkat(folder, temporaryName.c_str(), 0);
        }
        return Failed(SaveFailure::Step::Write, error);
    };
    // Before any byte: a private file never shows its text to others.
    TakeOverProtection(file.get(), existing);
    // Flushed before the rename: after a crash the target is either the old file or
    // the whole new one.
    if (!WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0) {
        return discard(errno);
    }
    if (!named) {
        const std::string self = "/proc/self/fd/" + std::to_string(file.get());
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporaryName = TemporaryNameFor(name, pid);
            if (::linkat(AT_FDCWD, self.c_str(), folder, temporaryName.c_str(),
                         AT_SYMLINK_FOLLOW) == 0) {
                named = true;
                break;
            }
            if (errno == ENOENT && attempt == 0) {
                // No /proc to name the file through: again, with a name from the start.
                file.Reset();
                return WriteTemporary(folder, name, bytes, existing, temporaryName, false);
            }
            if (errno != EEXIST) {
                return discard(errno);
            }
        }
        if (!named) {
            return discard(EEXIST);
        }
    }
    if (const int error = file.Reset(); error != 0) {
        return discard(error);
    }
    return std::nullopt;
}

// The bytes written to a descriptor the caller holds, which stays open.
std::optional<SaveFailure> WriteToDescriptor(int descriptor, ByteSpans bytes) {
    if (::fcntl(descriptor, F_GETFD) < 0) {
        return Failed(SaveFailure::Step::Replace, errno);
    }
    if (!WriteAll(descriptor, bytes)) {
        return Failed(SaveFailure::Step::Write, errno);
    }
    return std::nullopt;
}

}  // namespace

std::optional<SaveFailure> TrySaveFileAtomically(const std::string& path, ByteSpans bytes,
                                                 TemporaryCopy copy) {
    if (const auto descriptor = DescriptorNamed(path)) {
        return WriteToDescriptor(*descriptor, bytes);
    }
    if (auto refused = ProtectedLinkOnTheWay(path)) {
        return refused;
    }
    if (struct stat info{};
        ::stat(path.c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode))) {
        return WriteInPlace(path, bytes);
    }
    std::string target = path;
    if (auto failure = FollowLinks(target)) {
        return failure;
    }
    // Where a link was followed, the way to its target is checked too; without one it
    // is the way already checked.
    if (target != path) {
        if (auto refused = ProtectedLinkOnTheWay(FolderOf(target))) {
            return refused;
        }
    }
    const Descriptor folder(::open(FolderOf(target).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        return Failed(SaveFailure::Step::Create, errno);
    }
    const std::string name = NameOf(target);
    std::optional<struct stat> existing;
    if (auto failure = CheckTarget(folder.get(), name, existing)) {
        return failure;
    }
    RemoveStaleTemporaries(folder.get(), name);

    std::string temporaryName;
    if (auto failure = WriteTemporary(folder.get(), name, bytes, existing, temporaryName,
                                      copy == TemporaryCopy::UnnamedWherePossible)) {
        return failure;
    }
    if (::renameat(folder.get(), temporaryName.c_str(), folder.get(), name.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(folder.get(), temporaryName.c_str(), 0);
        return Failed(SaveFailure::Step::Replace, error);
    }
    // The rename itself reaches the disk with the folder.
    if (const Descriptor listing(::openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        listing.get() >= 0) {
        ::fsync(listing.get());
    }
    return std::nullopt;
}

bool PassesProtectedLink(const std::string& path) {
    return ProtectedLinkOnTheWay(path).has_value();
}

std::string DescribeReason(const std::error_code& reason) {
    return reason.message();
}

// The kernel's random numbers, asked once: the C++ library's device probes the processor
// first, which is slow in a virtual machine.
std::uint64_t RandomBitsForName() {
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, 0) == static_cast<ssize_t>(sizeof bits)) {
        return bits;
    }
    std::random_device device;
    return std::uint64_t{device()} << 32 | device();
}

}  // namespace tessaly
