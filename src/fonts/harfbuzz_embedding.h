#pragma once

#include <hb.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fonts/fontconfig_faces.h"
#include "pdf/embedded_font.h"

namespace tessaly {

// The texts as glyphs of `faces`: each character of texts[t] in faces[faceOf[t][c]], the
// glyphs naming their face by its index; shaped by HarfBuzz for `language`, put in display
// order by FriBidi, marks placed by their offsets; with a subset program for each face of
// only the glyphs drawn in it. runs[t] is nothing where a character other than a
// default-ignorable one has no glyph in its face; nothing at all when a face cannot be
// opened or cut.
std::optional<EmbeddedFaces> EmbedInFaces(const std::vector<FaceFile>& faces,
                                          const std::vector<std::u32string>& texts,
                                          const std::vector<std::vector<std::uint16_t>>& faceOf,
                                          const std::string& language);

// All the texts in the one face `face`, or nothing.
std::optional<EmbeddedTexts> EmbedInFace(const FaceFile& face,
                                         const std::vector<std::u32string>& texts,
                                         const std::string& language);

// The characters an installed face has glyphs for, read once.
class FaceCoverage {
  public:
    explicit FaceCoverage(const FaceFile& face);
    // Default-ignorable characters count as held: shaping uses them, no face draws them.
    bool Holds(char32_t c) const;
    bool HoldsAll(const std::u32string& characters) const;

  private:
    std::shared_ptr<hb_set_t> unicodes_;
};

// The advance widths of the Windows-1252 characters in the face, in thousandths of its
// size, by its nominal glyphs.
std::optional<WinAnsiWidths> WinAnsiWidthsOf(const FaceFile& face);

}  // namespace tessaly
