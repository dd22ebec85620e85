// fontconfig's start reads every configuration and cache file (several milliseconds); a
// calendar asks it the same few questions run after run, so its answers are remembered.
#include "fonts/cached_faces.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "fonts/face_cache.h"

namespace tessaly {

namespace {

constexpr const char* kCacheName = "faces";

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

// The environment fontconfig reads, as one number: another value is another answer.
std::uint64_t EnvironmentDigest() {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME",
                             "XDG_DATA_DIRS", "LC_ALL", "LC_CTYPE", "LANG", "FC_LANG"}) {
        const char* value = std::getenv(name);
        const std::string text = value != nullptr ? std::string("=") + value : "-";
        for (const char c : text + '\n') {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    }
    return hash;
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
std::optional<std::string> ReadCacheFile(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (file < 0) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    struct stat status {};
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
        status.st_size >= 0 && static_cast<std::size_t>(status.st_size) <= kMostCacheBytes) {
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

struct State {
    bool read = false;
    std::optional<std::string> folder;
    FaceCache cache;
    // Whether the cache's configuration stamps were checked, and held.
    std::optional<bool> holds;
    bool changed = false;
};

State& TheState() {
    static State state;
    if (!state.read) {
        state.read = true;
        state.folder = CacheFolder();
        if (state.folder) {
            if (const auto text = ReadCacheFile(*state.folder + "/" + kCacheName)) {
                if (auto parsed = ParseFaceCache(*text)) {
                    state.cache = std::move(*parsed);
                }
            }
        }
    }
    return state;
}

bool ConfigurationHolds(State& state) {
    if (!state.holds) {
        state.holds =
            state.cache.environment == EnvironmentDigest() && !state.cache.configuration.empty() &&
            std::all_of(state.cache.configuration.begin(), state.cache.configuration.end(),
                        [](const FileStamp& stamp) { return StampOf(stamp.path) == stamp; });
    }
    return *state.holds;
}

std::optional<std::vector<FaceFile>> Remembered(State& state, const FaceQuery& query) {
    if (!ConfigurationHolds(state)) {
        return std::nullopt;
    }
    const auto entry = std::find_if(state.cache.entries.begin(), state.cache.entries.end(),
                                    [&](const FaceCacheEntry& e) { return e.query == query; });
    if (entry == state.cache.entries.end()) {
        return std::nullopt;
    }
    std::vector<FaceFile> faces;
    for (const CachedFace& face : entry->faces) {
        if (face.stamp.path != face.file || StampOf(face.file) != face.stamp) {
            return std::nullopt;
        }
        faces.push_back({face.file, face.index, face.postScriptName});
    }
    return faces;
}

void Remember(State& state, const FaceQuery& query, const std::vector<FaceFile>& faces) {
    const auto isWord = [](const std::string& text) {
        return std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 0x7F; });
    };
    if (!isWord(query.language) || query.characters.empty()) {
        return;
    }
    FaceCacheEntry entry{query, {}};
    for (const FaceFile& face : faces) {
        if (!CacheablePath(face.file) || !isWord(face.postScriptName)) {
            return;
        }
        entry.faces.push_back({face.file, face.index, face.postScriptName, StampOf(face.file)});
    }
    if (!ConfigurationHolds(state)) {
        state.cache = FaceCache{EnvironmentDigest(), {}, {}};
        for (const std::string& path : FontconfigFiles()) {
            if (!CacheablePath(path)) {
                return;
            }
            state.cache.configuration.push_back(StampOf(path));
        }
        if (state.cache.configuration.empty()) {
            return;
        }
        state.holds = true;
    }
    auto& entries = state.cache.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const FaceCacheEntry& e) { return e.query == query; }),
                  entries.end());
    entries.insert(entries.begin(), std::move(entry));
    if (entries.size() > kMostCachedEntries) {
        entries.resize(kMostCachedEntries);
    }
    state.changed = true;
}

}  // namespace

std::vector<FaceFile> CachedFacesHolding(const std::u32string& characters,
                                         const std::string& language, FaceWeight weight) {
    State& state = TheState();
    if (!state.folder) {
        return FacesHolding(characters, language, weight);
    }
    const FaceQuery query = QueryOf(characters, language, weight);
    if (auto faces = Remembered(state, query)) {
        return std::move(*faces);
    }
    std::vector<FaceFile> faces = FacesHolding(characters, language, weight);
    Remember(state, query, faces);
    return faces;
}

void SaveFaceCache() {
    State& state = TheState();
    if (!state.changed || !state.folder) {
        return;
    }
    state.changed = false;
    std::string text = FaceCacheText(state.cache);
    while (text.size() > kMostCacheBytes && !state.cache.entries.empty()) {
        state.cache.entries.pop_back();
        text = FaceCacheText(state.cache);
    }
    const int folder = OpenOwnFolder(*state.folder);
    if (folder < 0) {
        return;
    }
    const std::string temporary = std::string(kCacheName) + "." + std::to_string(::getpid());
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
        if (!whole || ::renameat(folder, temporary.c_str(), folder, kCacheName) != 0) {
            ::unlinkat(folder, temporary.c_str(), 0);
        }
    }
    ::close(folder);
}

}  // namespace tessaly
