#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdf/embedded_font.h"

namespace tessaly {

// The UTF-8 texts as glyphs of one installed face: a bold sans-serif, as close to
// Helvetica-Bold as the machine has, that holds every character of every text; shaped,
// and put in right-to-left order where the script needs it; with a program of only the
// glyphs used. Nothing when no face holds them all, or when a text needs placing that
// plain advances cannot give (marks, kerning): the caller then draws no such text.
//
// Linux: fontconfig chooses, HarfBuzz shapes and subsets, FriBidi orders.
// Windows: GDI's fonts, Uniscribe shapes and orders, the font subsetter cuts (the whole
// font is embedded where it cannot).
std::optional<EmbeddedTexts> EmbedTextsForPdf(const std::vector<std::string>& utf8Texts);

}  // namespace tessaly
