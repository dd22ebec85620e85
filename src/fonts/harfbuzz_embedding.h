#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fonts/fontconfig_faces.h"
#include "pdf/embedded_font.h"

namespace tessaly {

// The texts as glyphs of the face in `face`: each shaped by HarfBuzz for `language`, in
// display order by FriBidi, marks placed by their offsets, with a subset program of only
// the glyphs drawn. Nothing when a character other than a default-ignorable one has no
// glyph, or when the face cannot be cut.
std::optional<EmbeddedTexts> EmbedInFace(const FaceFile& face,
                                         const std::vector<std::u32string>& texts,
                                         const std::string& language);

// Whether the face has a glyph for each of `characters` but the default-ignorable ones.
bool HoldsCharacters(const FaceFile& face, const std::u32string& characters);

// The advance widths of the Windows-1252 characters in the face, in thousandths of its
// size, by its nominal glyphs.
std::optional<WinAnsiWidths> WinAnsiWidthsOf(const FaceFile& face);

}  // namespace tessaly
