#include "fonts/pdf_fonts.h"

#include <algorithm>
#include <utility>

#include "fonts/font_backend.h"

namespace tessaly {

namespace {

// Adds `faces`' fonts to the result's and returns their runs, their glyphs naming the
// faces as the result numbers them.
std::vector<std::optional<GlyphRun>> Added(EmbeddedFaces faces, EmbeddingResult& result) {
    const auto first = static_cast<std::uint16_t>(result.fonts.size());
    for (EmbeddedFont& font : faces.fonts) {
        result.fonts.push_back(std::move(font));
    }
    for (auto& run : faces.runs) {
        if (!run) {
            continue;
        }
        for (EmbeddedGlyph& glyph : *run) {
            glyph.face = static_cast<std::uint16_t>(glyph.face + first);
        }
    }
    return std::move(faces.runs);
}

}  // namespace

// The table in one face where one holds it all, as always; else in the faces that hold
// its characters (a title's digits beside letters of a face without them).
EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest& request, const std::string& localeName) {
    if (auto remembered = RememberedEmbedding(request, localeName)) {
        return std::move(*remembered);
    }
    EmbeddingResult result;
    if (!request.together.empty()) {
        auto together = EmbedTextsInOneFace(request.together, FaceWeight::Bold, localeName);
        if (together && together->runs.size() == request.together.size()) {
            result.fonts.push_back(std::move(together->font));
            result.together = std::move(together->runs);
        } else {
            EmbeddedFaces faces = EmbedTextsInFaces(request.together, FaceWeight::Bold, localeName);
            if (!faces.fonts.empty() &&
                std::all_of(faces.runs.begin(), faces.runs.end(),
                            [](const auto& run) { return run.has_value(); })) {
                result.together.emplace();
                for (auto& run : Added(std::move(faces), result)) {
                    result.together->push_back(std::move(*run));
                }
            }
        }
    }
    if (!request.each.empty()) {
        result.each =
            Added(EmbedTextsInFaces(request.each, FaceWeight::Regular, localeName), result);
    }
    result.each.resize(request.each.size());
    RememberEmbedding(request, localeName, result);
    return result;
}

}  // namespace tessaly
