#include "fonts/pdf_fonts.h"

#include <utility>

#include "fonts/font_backend.h"

namespace tessaly {

EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest& request, const std::string& localeName) {
    EmbeddingResult result;
    if (!request.together.empty()) {
        auto together = EmbedTextsInOneFace(request.together, FaceWeight::Bold, localeName);
        if (together && together->runs.size() == request.together.size()) {
            result.fonts.push_back(std::move(together->font));
            result.together = std::move(together->runs);
        }
    }
    if (!request.each.empty()) {
        EmbeddedFaces each = EmbedTextsInFaces(request.each, FaceWeight::Regular, localeName);
        // Their faces follow the one of `together`.
        const auto first = static_cast<std::uint16_t>(result.fonts.size());
        for (EmbeddedFont& font : each.fonts) {
            result.fonts.push_back(std::move(font));
        }
        for (auto& run : each.runs) {
            if (!run) {
                continue;
            }
            for (EmbeddedGlyph& glyph : *run) {
                glyph.face = static_cast<std::uint16_t>(glyph.face + first);
            }
        }
        result.each = std::move(each.runs);
    }
    result.each.resize(request.each.size());
    if (request.boldWidths && !result.together) {
        result.boldWidths = HelveticaBoldWidths();
    }
    return result;
}

}  // namespace tessaly
