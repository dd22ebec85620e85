// fontconfig's start reads every configuration and cache file (several milliseconds); a
// calendar asks it the same few questions run after run, so its answers are remembered.
#include "fonts/cached_faces.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "fonts/cache_files.h"
#include "fonts/face_cache.h"

namespace tessaly {

namespace {

constexpr const char* kCacheName = "faces";

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

struct State {
    bool read = false;
    std::optional<std::string> folder;
    FaceCache cache;
    // Whether the cache's configuration stamps were checked, and held.
    std::optional<bool> holds;
    bool changed = false;
    std::vector<std::string> facesGiven;
    bool uncached = false;  // an answer given that the cache does not hold
};

State& TheState() {
    static State state;
    if (!state.read) {
        state.read = true;
        state.folder = CacheFolder();
        if (state.folder) {
            if (const auto text =
                    ReadCacheFile(*state.folder + "/" + kCacheName, kMostCacheBytes)) {
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
    auto faces = Remembered(state, query);
    if (!faces) {
        faces = FacesHolding(characters, language, weight);
        const bool changed = state.changed;
        state.changed = false;
        Remember(state, query, *faces);
        state.uncached = state.uncached || !state.changed;
        state.changed = state.changed || changed;
    }
    for (const FaceFile& face : *faces) {
        state.facesGiven.push_back(face.file);
    }
    return std::move(*faces);
}

std::vector<std::string> FilesAnswersRestOn() {
    State& state = TheState();
    std::vector<std::string> paths;
    if (!state.folder || state.uncached || !ConfigurationHolds(state)) {
        return paths;
    }
    for (const FileStamp& stamp : state.cache.configuration) {
        paths.push_back(stamp.path);
    }
    paths.insert(paths.end(), state.facesGiven.begin(), state.facesGiven.end());
    return paths;
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
    WriteCacheFile(*state.folder, kCacheName, text);
}

}  // namespace tessaly
