#include "settings/settings_store_posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/product.h"
#include "platform/file_save.h"
#include "platform/xdg_folders_posix.h"
#include "settings/ini_document.h"

namespace tessaly {

namespace {

// A settings file is a few dozen bytes; anything far larger is not ours to rewrite.
constexpr off_t kLargestFile = 1 << 20;
constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kExpandPrefix = "expand:";

struct StoredValue {
    SettingsKey::ValueType type;
    std::string data;
};

StoredValue Decode(std::string_view raw) {
    if (raw.starts_with(kDwordPrefix)) {
        const std::string digits(raw.substr(kDwordPrefix.size()));
        const unsigned long number = std::strtoul(digits.c_str(), nullptr, 16);
        std::string data(4, '\0');
        for (int k = 0; k < 4; ++k) {
            data[static_cast<size_t>(k)] = static_cast<char>((number >> (8 * k)) & 0xFF);
        }
        return {SettingsKey::ValueType::Other, data};
    }
    if (raw.starts_with(kExpandPrefix)) {
        return {SettingsKey::ValueType::ExpandString,
                std::string(raw.substr(kExpandPrefix.size())) + '\0'};
    }
    return {SettingsKey::ValueType::String, std::string(raw) + '\0'};
}

// Text that reads back exactly as written, as a plain string.
bool StorableText(std::string_view text) {
    return IniDocument::HoldsValue(text) && !text.starts_with(kDwordPrefix) &&
           !text.starts_with(kExpandPrefix);
}

// The whole file; an empty document when it does not exist yet, nothing when it exists
// but cannot be read. Opened without waiting: a FIFO or a device in its place would hold
// the window's start; anything but a regular file is refused.
std::optional<IniDocument> ReadDocument(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return IniDocument{};
        }
        return std::nullopt;
    }
    struct stat info {};
    std::string bytes;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kLargestFile;
    char buffer[4096];
    while (ok) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            ok = count == 0;
            break;
        }
        bytes.append(buffer, static_cast<size_t>(count));
        ok = bytes.size() <= static_cast<size_t>(kLargestFile);
    }
    ::close(fd);
    if (!ok) {
        return std::nullopt;
    }
    return IniDocument::Parse(bytes);
}

bool WriteDocument(const std::string& path, const IniDocument& document) {
    return !TrySaveFileAtomically(path, document.Serialise());
}

// An exclusive flock on "<file>.lock" for one read-modify-write. The settings file
// itself cannot carry the lock: each write replaces it with a new file.
class WriteLock {
  public:
    explicit WriteLock(const std::string& path) {
        if (path.empty()) {
            return;
        }
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
        fd_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            return;
        }
        int result = 0;
        while ((result = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
        held_ = result == 0;
    }
    ~WriteLock() {
        if (fd_ >= 0) {
            ::close(fd_);  // releases the lock
        }
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    bool held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};

class FileKey : public SettingsKey {
  public:
    FileKey(std::string path, std::string key) : path_(std::move(path)), key_(std::move(key)) {}

    std::optional<ValueInfo> QueryValue(const std::string& name) override {
        const auto value = Read(name);
        if (!value) {
            return std::nullopt;
        }
        return ValueInfo{value->type, static_cast<std::uint32_t>(value->data.size())};
    }

    std::optional<std::string> ReadValueData(const std::string& name) override {
        auto value = Read(name);
        if (!value) {
            return std::nullopt;
        }
        return std::move(value->data);
    }

    bool SetStringValue(const std::string& name, const std::string& dataWithNul) override {
        const std::string_view text(dataWithNul.data(),
                                    std::min(dataWithNul.find('\0'), dataWithNul.size()));
        if (!IniDocument::HoldsName(name) || !StorableText(text)) {
            return false;
        }
        const WriteLock lock(path_);
        if (!lock.held()) {
            return false;
        }
        auto document = ReadDocument(path_);
        if (!document) {
            return false;  // never overwrite what could not be read
        }
        document->Set(key_, name, text);
        return WriteDocument(path_, *document);
    }

  private:
    // Reads need no lock: a write replaces the file in one rename, so a reader sees
    // the old file or the new one, never half of either.
    std::optional<StoredValue> Read(const std::string& name) const {
        const auto document = ReadDocument(path_);
        if (!document) {
            return std::nullopt;
        }
        const auto raw = document->Get(key_, name);
        if (!raw) {
            return std::nullopt;
        }
        return Decode(*raw);
    }

    std::string path_;
    std::string key_;
};

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

std::unique_ptr<SettingsKey> SettingsFile::OpenOrCreateKey(const std::string& keyPath) {
    if (!IniDocument::HoldsSection(keyPath)) {
        return nullptr;
    }
    {
        const WriteLock lock(path_);
        auto document = ReadDocument(path_);
        if (lock.held() && document && !document->HasSection(keyPath)) {
            // A key that cannot be stored still opens: its values read as missing, and
            // a write through it is refused.
            document->AddSection(keyPath);
            WriteDocument(path_, *document);
        }
    }
    return std::make_unique<FileKey>(path_, keyPath);
}

std::string DefaultSettingsFilePath() {
    const auto config = ConfigFolder();
    if (!config) {
        return {};
    }
    return *config + "/" + kMakerName + "/" + kProductName + ".conf";
}

}  // namespace tessaly
