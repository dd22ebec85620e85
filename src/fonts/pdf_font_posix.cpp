// The program's side of the fonts module: loaded on first use, so that every other start
// stays free of HarfBuzz, fontconfig, FreeType and FriBidi.

#include "fonts/cache_files.h"
#include "fonts/embedding_cache.h"
#include "fonts/font_backend.h"
#include "fonts/fonts_module.h"
#include "platform/modules_posix.h"

namespace tessaly {

namespace {

// Without the module (or its libraries) nothing can be embedded, and tables outside
// Windows-1252 are English.
const FontsModule* Module() {
    static const FontsModule* const module = LoadModuleInterface<FontsModule>(
        {TESSALY_FONT_MODULE_FROM_PROGRAM, TESSALY_FONT_MODULE_NAME, TESSALY_FONT_MODULE_BUILT},
        kFontsModuleVersion);
    return module;
}

}  // namespace

std::optional<EmbeddedTexts> EmbedTextsInOneFace(const std::vector<std::string>& utf8Texts,
                                                 FaceWeight weight, const std::string& localeName) {
    std::optional<EmbeddedTexts> embedded;
    if (const FontsModule* module = Module()) {
        module->embedTexts(utf8Texts, weight, localeName, embedded);
    }
    return embedded;
}

EmbeddedFaces EmbedTextsInFaces(const std::vector<std::string>& utf8Texts, FaceWeight weight,
                                const std::string& localeName) {
    EmbeddedFaces embedded;
    if (const FontsModule* module = Module()) {
        module->embedTextsInFaces(utf8Texts, weight, localeName, embedded);
    }
    embedded.runs.resize(utf8Texts.size());
    return embedded;
}

void RememberEmbedding(const EmbeddingRequest& request, const std::string& localeName,
                       const EmbeddingResult& result) {
    const FontsModule* module = Module();
    const auto folder = CacheFolder();
    if (module == nullptr || !folder) {
        return;
    }
    std::vector<std::string> paths;
    module->filesRestedOn(paths);
    EmbeddingCacheEntry remembered{EmbeddingKey(request, localeName), {}, result};
    for (const std::string& path : paths) {
        if (!CacheablePath(path)) {
            return;
        }
        remembered.restingOn.push_back(StampOf(path));
    }
    if (remembered.restingOn.empty()) {
        return;
    }
    const std::string bytes = EmbeddingCacheBytes(remembered);
    if (bytes.size() <= kMostEmbeddingBytes) {
        WriteCacheFile(*folder, EmbeddingFileName(remembered.key), bytes);
    }
}

std::optional<WinAnsiWidths> HelveticaBoldWidths() {
    std::optional<WinAnsiWidths> widths;
    if (const FontsModule* module = Module()) {
        module->helveticaBoldWidths(widths);
    }
    return widths;
}

}  // namespace tessaly
