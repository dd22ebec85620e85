// The face cache file against its own writer: whatever the parser takes, written again,
// is taken again as the same; nothing crashes on any bytes, with their checksum added
// (so that the lines themselves are tried) or as they are.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

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
    return 0;
}
