#pragma once

namespace tessaly {

// Whether Unicode makes `c` a Default_Ignorable_Code_Point: a format or filler character
// (ZERO WIDTH NON-JOINER, the bidi marks, variation selectors, the soft hyphen, ...) that
// shaping uses or leaves out and that needs no glyph of its own.
bool IsDefaultIgnorable(char32_t c);

}  // namespace tessaly
