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

// The UTF-8 texts as glyphs of one installed face: a sans-serif of `weight`, as close to
// Helvetica as the machine has, that holds every character of every text (format
// characters such as ZERO WIDTH NON-JOINER aside: shaping uses them); shaped, marks
// placed, and put in right-to-left order where the script needs it; with a program of
// only the glyphs used. Nothing when no face holds them all. `localeName` (de_DE.UTF-8;
// on Windows de-DE; empty for the user's) picks among a script's regional glyph forms.
std::optional<EmbeddedTexts> EmbedTextsInOneFace(const std::vector<std::string>& utf8Texts,
                                                 FaceWeight weight, const std::string& localeName);

// Each text the same way in a face of `weight` that holds it: the first face that holds
// it among those already taken for earlier texts, else the best one that does; one
// subset a face. Nothing for a text no face holds.
EmbeddedFaces EmbedTextsInFaces(const std::vector<std::string>& utf8Texts, FaceWeight weight,
                                const std::string& localeName);

// What an earlier run's fonts gave for the same request and locale, where nothing it
// rested on (faces, font settings, the font machinery) has changed since: Linux keeps it
// in the user's cache; nothing on Windows, whose fonts are at hand.
std::optional<EmbeddingResult> RememberedEmbedding(const EmbeddingRequest& request,
                                                   const std::string& localeName);
// Keeps `result` for the next run, where the machinery can say what it rests on.
void RememberEmbedding(const EmbeddingRequest& request, const std::string& localeName,
                       const EmbeddingResult& result);

// Helvetica-Bold's advance widths, measured on an installed face made to its metrics:
// Liberation Sans Bold on Linux, Arial Bold (or Liberation Sans Bold) on Windows.
// Nothing when none is installed.
std::optional<WinAnsiWidths> HelveticaBoldWidths();

}  // namespace tessaly
