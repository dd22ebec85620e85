#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/embedded_font.h"

namespace tessaly {

// The 64-bit FNV-1a sum of `bytes`: the caches' check against damage (not forgery) and
// the spread of their file names.
std::uint64_t Fnv1a(std::string_view bytes);

// A file or folder as it was when a choice was remembered: a choice holds while every
// file it rests on is unchanged.
struct FileStamp {
    std::string path;
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// What fontconfig was asked: faces of a weight, for a language, that hold characters
// (sorted, each once, the default-ignorable ones left out).
struct FaceQuery {
    FaceWeight weight = FaceWeight::Regular;
    std::string language;
    std::u32string characters;

    bool operator==(const FaceQuery&) const = default;
};

// One face of an answer, with the stamp of its file.
struct CachedFace {
    std::string file;
    int index = 0;
    std::string postScriptName;
    FileStamp stamp;
};

struct FaceCacheEntry {
    FaceQuery query;
    std::vector<CachedFace> faces;
};

// fontconfig's answers remembered between runs, valid while fontconfig's configuration
// and cache files and folders (`configuration`) and the environment it reads
// (`environment`, a digest) are as they were.
struct FaceCache {
    std::uint64_t environment = 0;
    std::vector<FileStamp> configuration;
    std::vector<FaceCacheEntry> entries;  // the newest first
};

// The query for `characters`: sorted, each once, without the default-ignorable ones.
FaceQuery QueryOf(const std::u32string& characters, const std::string& language, FaceWeight weight);

// The cache file's text, and back. Parsing takes nothing from a text that is not
// entirely well formed (a checksum closes it); it never throws on any input.
std::string FaceCacheText(const FaceCache& cache);
std::optional<FaceCache> ParseFaceCache(std::string_view text);
// The cache file's lines closed by their checksum.
std::string SealFaceCache(std::string_view body);

// Whether a cache can hold a face of this file and name (a path it can write on one line,
// absolute, not climbing out of its folders).
bool CacheablePath(std::string_view path);

// The most entries and bytes a cache keeps.
inline constexpr std::size_t kMostCachedEntries = 24;
inline constexpr std::size_t kMostCacheBytes = 64 * 1024;

}  // namespace tessaly
