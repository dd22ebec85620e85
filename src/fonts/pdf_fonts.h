#pragma once

#include <string>

#include "pdf/embedded_font.h"

namespace tessaly {

// What the machine's fonts give a PDF for `request`: a bold face that draws its
// `together` texts all (or none of them), first among the faces, and others beside it
// for characters it lacks when no one face holds them all; and regular faces for
// its `each` texts, each text in one of them where one holds it, one subset a face.
// `localeName` (empty for the user's) picks among a script's regional glyph forms.
EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest& request,
                                 const std::string& localeName = {});

}  // namespace tessaly
