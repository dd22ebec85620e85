#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/face_cache.h"
#include "pdf/embedded_font.h"

namespace tessaly {

// What the fonts gave for one request, remembered with the files it rested on (the face
// files, fontconfig's settings, the fonts module and its libraries): a later run with the
// same request takes it while those files are unchanged, without loading the module.
struct EmbeddingCacheEntry {
    std::string key;  // the request, the locale and the environment, as one text
    std::vector<FileStamp> restingOn;
    EmbeddingResult result;
};

// The key of a request: its texts, the locale name and the environment variables the
// fonts read, one text.
std::string EmbeddingKey(const EmbeddingRequest& request, const std::string& localeName);

// The file a key is remembered in: one of sixteen, so that the cache stays small (the key
// inside tells which request a file holds).
std::string EmbeddingFileName(std::string_view key);

// The file's bytes, and back. Parsing takes nothing from bytes that are not entirely well
// formed (a checksum closes them) or whose glyphs name faces it does not hold; it never
// throws.
std::string EmbeddingCacheBytes(const EmbeddingCacheEntry& remembered);
std::optional<EmbeddingCacheEntry> ParseEmbeddingCache(std::string_view bytes);

// The most bytes an embedding file may have; a larger result is not remembered.
inline constexpr std::size_t kMostEmbeddingBytes = 1024 * 1024;

}  // namespace tessaly
