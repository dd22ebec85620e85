#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdf/embedded_font.h"

namespace tessaly {

// The machine's font machinery, one backend a platform:
// Linux: fontconfig chooses, HarfBuzz shapes and subsets, FriBidi orders (in the module
// libtessaly-fonts.so). Windows: GDI's fonts, Uniscribe shapes and orders, the font
// subsetter cuts (the whole font is embedded where it cannot).

// The UTF-8 texts as glyphs of one installed face: a bold sans-serif, as close to
// Helvetica-Bold as the machine has, that holds every character of every text; shaped,
// and put in right-to-left order where the script needs it; with a program of only the
// glyphs used. Nothing when no face holds them all, or when a text needs placing that
// plain advances cannot give (marks, kerning). `localeName` (de_DE.UTF-8; on Windows
// de-DE; empty for the user's) picks among a script's regional glyph forms.
std::optional<EmbeddedTexts> EmbedTextsInOneFace(const std::vector<std::string>& utf8Texts,
                                                 const std::string& localeName);

// Helvetica-Bold's advance widths, measured on an installed face made to its metrics:
// Liberation Sans Bold on Linux, Arial Bold (or Liberation Sans Bold) on Windows.
// Nothing when none is installed.
std::optional<WinAnsiWidths> HelveticaBoldWidths();

}  // namespace tessaly
