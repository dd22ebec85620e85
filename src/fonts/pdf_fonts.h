#pragma once

#include <string>

#include "pdf/embedded_font.h"

namespace tessaly {

// What the machine's fonts give a PDF for `request`: one face that draws its `together`
// texts all (or none of them), and as many of its `each` texts as that face draws with
// them; Helvetica-Bold's widths where asked and `together` is not drawn in the face.
// `localeName` (empty for the user's) picks among a script's regional glyph forms.
EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest& request,
                                 const std::string& localeName = {});

}  // namespace tessaly
