#include "platform/settings_store_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/product.h"
#include "platform/file_save.h"

namespace tessaly {

namespace {

using Lines = std::vector<std::string>;

// A settings file is a few dozen bytes; anything far larger is not ours to rewrite.
constexpr off_t kLargestFile = 1 << 20;
constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kExpandPrefix = "expand:";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Key paths and value names compare without regard to ASCII case, as in the registry.
bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::optional<std::string_view> SectionOf(const std::string& line) {
    const std::string_view text = Trimmed(line);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') {
        return std::nullopt;
    }
    return text.substr(1, text.size() - 2);
}

struct ValueLine {
    std::string_view name;
    std::string_view raw;
};

std::optional<ValueLine> ValueOf(const std::string& line) {
    const auto equals = line.find('=');
    if (equals == std::string::npos || line.starts_with(';') || line.starts_with('#')) {
        return std::nullopt;
    }
    const std::string_view name = Trimmed(std::string_view(line).substr(0, equals));
    if (name.empty()) {
        return std::nullopt;
    }
    return ValueLine{name, std::string_view(line).substr(equals + 1)};
}

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

// The whole file as lines; an empty list when it does not exist yet, nothing when it
// exists but cannot be read.
std::optional<Lines> ReadLines(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return Lines{};
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
    Lines lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool WriteLines(const std::string& path, const Lines& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += '\n';
    }
    try {
        SaveFileAtomically(path, bytes, "Cannot write " + path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Lines [begin, end) of each section named `key`, header excluded.
struct Range {
    size_t begin;
    size_t end;
};

std::vector<Range> SectionsNamed(const Lines& lines, std::string_view key) {
    std::vector<Range> sections;
    for (size_t k = 0; k < lines.size(); ++k) {
        if (const auto name = SectionOf(lines[k])) {
            if (!sections.empty() && sections.back().end == lines.size()) {
                sections.back().end = k;
            }
            if (SameName(*name, key)) {
                sections.push_back({k + 1, lines.size()});
            }
        }
    }
    return sections;
}

// The line that holds `name` under `key`: the last one when a hand-edited file repeats it.
std::optional<size_t> FindValueLine(const Lines& lines, std::string_view key,
                                    std::string_view name) {
    std::optional<size_t> found;
    for (const auto& section : SectionsNamed(lines, key)) {
        for (size_t k = section.begin; k < section.end; ++k) {
            if (const auto value = ValueOf(lines[k]); value && SameName(value->name, name)) {
                found = k;
            }
        }
    }
    return found;
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

bool StorableName(const std::string& name) {
    return !name.empty() && name.find_first_of("=\r\n") == std::string::npos &&
           Trimmed(name).size() == name.size() && !SectionOf(name) && name.front() != ';' &&
           name.front() != '#';
}

// Text that reads back exactly as written, as a plain string.
bool StorableText(std::string_view text) {
    return text.find_first_of("\r\n") == std::string_view::npos &&
           !text.starts_with(kDwordPrefix) && !text.starts_with(kExpandPrefix);
}

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
        if (!StorableName(name) || !StorableText(text)) {
            return false;
        }
        const WriteLock lock(path_);
        if (!lock.held()) {
            return false;
        }
        auto lines = ReadLines(path_);
        if (!lines) {
            return false;  // never overwrite what could not be read
        }
        const std::string line = name + "=" + std::string(text);
        if (const auto existing = FindValueLine(*lines, key_, name)) {
            (*lines)[*existing] = line;
        } else {
            auto sections = SectionsNamed(*lines, key_);
            if (sections.empty()) {
                AppendSection(*lines, key_);
                sections = SectionsNamed(*lines, key_);
            }
            size_t at = sections.front().end;
            while (at > sections.front().begin && Trimmed((*lines)[at - 1]).empty()) {
                --at;
            }
            lines->insert(lines->begin() + static_cast<std::ptrdiff_t>(at), line);
        }
        return WriteLines(path_, *lines);
    }

    static void AppendSection(Lines& lines, const std::string& key) {
        if (!lines.empty() && !Trimmed(lines.back()).empty()) {
            lines.emplace_back();
        }
        lines.push_back("[" + key + "]");
    }

  private:
    // Reads need no lock: a write replaces the file in one rename, so a reader sees
    // the old file or the new one, never half of either.
    std::optional<StoredValue> Read(const std::string& name) const {
        const auto lines = ReadLines(path_);
        if (!lines) {
            return std::nullopt;
        }
        const auto found = FindValueLine(*lines, key_, name);
        if (!found) {
            return std::nullopt;
        }
        return Decode(ValueOf((*lines)[*found])->raw);
    }

    std::string path_;
    std::string key_;
};

bool UsableKeyPath(const std::string& key) {
    return !Trimmed(key).empty() && Trimmed(key).size() == key.size() &&
           key.find_first_of("]\r\n") == std::string::npos;
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

std::unique_ptr<SettingsKey> SettingsFile::OpenOrCreateKey(const std::string& keyPath) {
    if (!UsableKeyPath(keyPath)) {
        return nullptr;
    }
    {
        const WriteLock lock(path_);
        auto lines = ReadLines(path_);
        if (lock.held() && lines && SectionsNamed(*lines, keyPath).empty()) {
            // A key that cannot be stored still opens: its values read as missing, and
            // a write through it is refused.
            FileKey::AppendSection(*lines, keyPath);
            WriteLines(path_, *lines);
        }
    }
    return std::make_unique<FileKey>(path_, keyPath);
}

std::string DefaultSettingsFilePath() {
    std::string config;
    // The XDG rules ignore a relative XDG_CONFIG_HOME.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else {
        std::string home;
        if (const char* env = std::getenv("HOME"); env != nullptr && env[0] != '\0') {
            home = env;
        } else if (const passwd* user = ::getpwuid(::getuid());
                   user != nullptr && user->pw_dir != nullptr) {
            home = user->pw_dir;
        }
        if (home.empty()) {
            return {};
        }
        config = home + "/.config";
    }
    return config + "/" + kMakerName + "/" + kProductName + ".conf";
}

}  // namespace tessaly
