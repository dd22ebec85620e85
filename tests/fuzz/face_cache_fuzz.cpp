// The font cache files (the faces, the remembered results) against their own writers:
// whatever a parser takes, written again, is taken again as the same; nothing crashes on
// any bytes, with their checksum added (so that the contents themselves are tried) or as
// they are.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fonts/embedding_cache.h"
#include "fonts/face_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& input : {std::string(bytes), SealFaceCache(bytes)}) {
        const auto cache = ParseFaceCache(input);
        if (!cache) {
            continue;
        }
        const std::string text = FaceCacheText(*cache);
        const auto again = ParseFaceCache(text);
        if (!again || FaceCacheText(*again) != text) {
            std::abort();
        }
    }
    // The remembered result, its FNV-1a checksum (eight bytes, little-endian) appended.
    std::string sealed(bytes);
    std::uint64_t sum = 14695981039346656037ULL;
    for (const char c : sealed) {
        sum = (sum ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    for (int k = 0; k < 8; ++k) {
        sealed += static_cast<char>((sum >> (8 * k)) & 0xFF);
    }
    for (const std::string_view input : {bytes, std::string_view(sealed)}) {
        if (const auto entry = ParseEmbeddingCache(input)) {
            const std::string again = EmbeddingCacheBytes(*entry);
            const auto reread = ParseEmbeddingCache(again);
            if (!reread || EmbeddingCacheBytes(*reread) != again) {
                std::abort();
            }
        }
    }
    return 0;
}
