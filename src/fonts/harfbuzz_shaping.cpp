#include "fonts/harfbuzz_shaping.h"

#include <algorithm>
#include <set>

#include "core/default_ignorable.h"
#include "core/owned.h"
#include "core/winansi.h"
#include "fonts/lazy_libraries.h"

namespace tessaly {

namespace {

using Buffer = Owned<hb_buffer_t, hb_buffer_destroy>;

struct LevelRun {
    std::size_t start = 0;
    std::size_t length = 0;
    FriBidiLevel level = 0;
};

// Whether the character is of a right-to-left or Arabic-number class, or an explicit
// direction mark, embedding or isolate: without one, every level is 0.
bool MayTurnRightToLeft(char32_t c) {
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFF) || (c >= 0x10800 && c <= 0x10FFF) ||
           (c >= 0x1E800 && c <= 0x1EFFF) || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// The text's runs of one direction, in display order (left to right). A text with nothing
// that may turn right to left is one run at level 0, as FriBidi would find it, without
// loading FriBidi.
std::optional<std::vector<LevelRun>> DisplayRuns(const std::u32string& text) {
    if (std::none_of(text.begin(), text.end(), MayTurnRightToLeft)) {
        return text.empty() ? std::vector<LevelRun>{} : std::vector<LevelRun>{{0, text.size(), 0}};
    }
    const FribidiLibrary* fribidi = Fribidi();
    if (fribidi == nullptr) {
        return std::nullopt;
    }
    const auto length = static_cast<FriBidiStrIndex>(text.size());
    const auto* characters = reinterpret_cast<const FriBidiChar*>(text.data());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size());
    fribidi->fribidi_get_bidi_types(characters, length, types.data());
    fribidi->fribidi_get_bracket_types(characters, length, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (!text.empty() &&
        fribidi->fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length,
                                                     &direction, levels.data()) == 0) {
        return std::nullopt;
    }
    std::vector<LevelRun> runs;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (runs.empty() || runs.back().level != levels[i]) {
            runs.push_back({i, 0, levels[i]});
        }
        ++runs.back().length;
    }
    // From the highest level down to the lowest odd one, reverse every stretch of runs at
    // that level or above.
    FriBidiLevel highest = 0;
    FriBidiLevel lowestOdd = 127;
    for (const LevelRun& run : runs) {
        highest = std::max(highest, run.level);
        if (run.level % 2 == 1) {
            lowestOdd = std::min(lowestOdd, run.level);
        }
    }
    for (FriBidiLevel level = highest; level >= lowestOdd && level > 0; --level) {
        for (auto first = runs.begin(); first != runs.end();) {
            if (first->level < level) {
                ++first;
                continue;
            }
            auto last = std::find_if(first, runs.end(), [&](auto& r) { return r.level < level; });
            std::reverse(first, last);
            first = last;
        }
    }
    return runs;
}

// Whether every character of text[first, last) is default-ignorable.
bool AllIgnorable(const std::u32string& text, std::size_t first, std::size_t last) {
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(first),
                       text.begin() + static_cast<std::ptrdiff_t>(last), IsDefaultIgnorable);
}

// text[piece] of one direction in `font`, its glyphs appended to `glyphs` left to right.
bool ShapePiece(hb_font_t* font, std::uint16_t face, const std::u32string& text, LevelRun piece,
                const std::string& language, GlyphRun& glyphs) {
    // Kerning stays off: it would move the letters of every name embedded so far.
    static const hb_feature_t kNoKerning = {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START,
                                            HB_FEATURE_GLOBAL_END};
    const Buffer buffer(hb_buffer_create());
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const std::uint32_t*>(text.data()),
                        static_cast<int>(text.size()), static_cast<unsigned>(piece.start),
                        static_cast<int>(piece.length));
    hb_buffer_set_direction(
        buffer.get(), FRIBIDI_LEVEL_IS_RTL(piece.level) ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    if (!language.empty()) {
        hb_buffer_set_language(buffer.get(), hb_language_from_string(language.c_str(), -1));
    }
    hb_buffer_guess_segment_properties(buffer.get());
    // A mark keeps a cluster of its own, so a base glyph stands for the same text with a
    // mark as without.
    hb_buffer_set_cluster_level(buffer.get(), HB_BUFFER_CLUSTER_LEVEL_MONOTONE_CHARACTERS);
    hb_shape(font, buffer.get(), &kNoKerning, 1);

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &count);
    // Each cluster's characters go with the first of its glyphs.
    std::set<std::size_t> boundaries = {piece.start + piece.length};
    for (unsigned k = 0; k < count; ++k) {
        boundaries.insert(infos[k].cluster);
    }
    std::set<std::size_t> given;
    for (unsigned k = 0; k < count; ++k) {
        hb_codepoint_t glyph = infos[k].codepoint;
        const std::size_t cluster = infos[k].cluster;
        const std::size_t end = *boundaries.upper_bound(cluster);
        // HarfBuzz shows a format character (ZERO WIDTH NON-JOINER) as a blank: it is drawn
        // as the face's own glyph for it, copied as itself, or left out.
        if (AllIgnorable(text, cluster, end) &&
            !hb_font_get_nominal_glyph(font, text[cluster], &glyph)) {
            continue;
        }
        if (glyph == 0 || glyph > 0xFFFF || positions[k].y_advance != 0) {
            return false;
        }
        EmbeddedGlyph shaped;
        shaped.code = static_cast<std::uint16_t>(glyph);
        shaped.width = positions[k].x_advance;
        shaped.xOffset = positions[k].x_offset;
        shaped.yOffset = positions[k].y_offset;
        shaped.face = face;
        shaped.rightToLeft = FRIBIDI_LEVEL_IS_RTL(piece.level);
        if (given.insert(cluster).second) {
            for (std::size_t c = cluster; c < end; ++c) {
                shaped.text += CodePointToUtf8(text[c]);
            }
        }
        glyphs.push_back(std::move(shaped));
    }
    return true;
}

}  // namespace

std::optional<GlyphRun> ShapeText(const std::vector<hb_font_t*>& fonts, const std::u32string& text,
                                  const std::vector<std::uint16_t>& faceOf,
                                  const std::string& language) {
    const auto runs = DisplayRuns(text);
    if (!runs || faceOf.size() != text.size()) {
        return std::nullopt;
    }
    GlyphRun glyphs;
    for (const LevelRun& run : *runs) {
        // The run's pieces of one face, in text order; drawn from the right when it reads
        // from the right.
        std::vector<LevelRun> pieces;
        for (std::size_t c = run.start; c < run.start + run.length; ++c) {
            if (pieces.empty() || faceOf[c] != faceOf[pieces.back().start]) {
                pieces.push_back({c, 0, run.level});
            }
            ++pieces.back().length;
        }
        if (FRIBIDI_LEVEL_IS_RTL(run.level)) {
            std::reverse(pieces.begin(), pieces.end());
        }
        for (const LevelRun& piece : pieces) {
            const std::uint16_t face = faceOf[piece.start];
            if (face >= fonts.size() ||
                !ShapePiece(fonts[face], face, text, piece, language, glyphs)) {
                return std::nullopt;
            }
        }
    }
    return glyphs;
}

}  // namespace tessaly
