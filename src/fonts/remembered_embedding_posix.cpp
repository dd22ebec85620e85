// The remembered side of the fonts, without the module: the static tessaly-cli takes a
// result from here as the full program does.
#include <algorithm>

#include "fonts/cache_files.h"
#include "fonts/embedding_cache.h"
#include "fonts/font_backend.h"

namespace tessaly {

// A remembered result is taken only for the request it was made for, its files unchanged,
// and with a run for every text asked: the module is then not loaded at all.
std::optional<EmbeddingResult> RememberedEmbedding(const EmbeddingRequest& request,
                                                   const std::string& localeName) {
    const auto folder = CacheFolder();
    if (!folder) {
        return std::nullopt;
    }
    const std::string key = EmbeddingKey(request, localeName);
    const auto bytes = ReadCacheFile(*folder + "/" + EmbeddingFileName(key), kMostEmbeddingBytes);
    auto remembered = bytes ? ParseEmbeddingCache(*bytes) : std::nullopt;
    if (!remembered || remembered->key != key || remembered->restingOn.empty() ||
        remembered->result.each.size() != request.each.size() ||
        (remembered->result.together &&
         remembered->result.together->size() != request.together.size()) ||
        !std::all_of(remembered->restingOn.begin(), remembered->restingOn.end(),
                     [](const FileStamp& stamp) { return StampOf(stamp.path) == stamp; })) {
        return std::nullopt;
    }
    return std::move(remembered->result);
}

}  // namespace tessaly
