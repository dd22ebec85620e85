#pragma once

#include <hb.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pdf/embedded_font.h"

namespace tessaly {

// One text as glyphs of `fonts`: character k drawn in fonts[faceOf[k]], the glyph's face;
// shaped by HarfBuzz for `language` in pieces of one face and one direction, put in
// display order by FriBidi, marks placed by their offsets. Codes are the faces' own glyph
// ids, advances and offsets their font units. Nothing when a character other than a
// default-ignorable one has no glyph in its face, or a glyph moves the pen off the
// baseline.
std::optional<GlyphRun> ShapeText(const std::vector<hb_font_t*>& fonts, const std::u32string& text,
                                  const std::vector<std::uint16_t>& faceOf,
                                  const std::string& language);

}  // namespace tessaly
