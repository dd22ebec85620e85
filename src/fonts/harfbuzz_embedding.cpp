#include "fonts/harfbuzz_embedding.h"

#include <fribidi.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_CID_H
#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "core/default_ignorable.h"
#include "core/owned.h"
#include "core/winansi.h"

namespace tessaly {

namespace {

using Blob = Owned<hb_blob_t, hb_blob_destroy>;
using Face = Owned<hb_face_t, hb_face_destroy>;
using Font = Owned<hb_font_t, hb_font_destroy>;
using Buffer = Owned<hb_buffer_t, hb_buffer_destroy>;
using SubsetInput = Owned<hb_subset_input_t, hb_subset_input_destroy>;
using SubsetPlan = Owned<hb_subset_plan_t, hb_subset_plan_destroy>;

struct LevelRun {
    std::size_t start = 0;
    std::size_t length = 0;
    FriBidiLevel level = 0;
};

// The text's runs of one direction, in display order (left to right).
std::optional<std::vector<LevelRun>> DisplayRuns(const std::u32string& text) {
    const auto length = static_cast<FriBidiStrIndex>(text.size());
    const auto* characters = reinterpret_cast<const FriBidiChar*>(text.data());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size());
    fribidi_get_bidi_types(characters, length, types.data());
    fribidi_get_bracket_types(characters, length, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (!text.empty() && fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length,
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

std::int32_t Thousandths(hb_position_t units, unsigned unitsPerEm) {
    return static_cast<std::int32_t>(std::lround(1000.0 * units / unitsPerEm));
}

// Whether every character of text[first, last) is default-ignorable.
bool AllIgnorable(const std::u32string& text, std::size_t first, std::size_t last) {
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(first),
                       text.begin() + static_cast<std::ptrdiff_t>(last), IsDefaultIgnorable);
}

// One text as glyphs of `font`, codes still the face's own glyph ids and advances and
// offsets in font units. Nothing when a character has no glyph or a glyph moves the pen
// off the baseline.
std::optional<GlyphRun> Shape(hb_font_t* font, const std::u32string& text,
                              const std::string& language) {
    const auto runs = DisplayRuns(text);
    if (!runs) {
        return std::nullopt;
    }
    // Kerning stays off: it would move the letters of every name embedded so far.
    static const hb_feature_t kNoKerning = {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START,
                                            HB_FEATURE_GLOBAL_END};
    GlyphRun glyphs;
    const Buffer buffer(hb_buffer_create());
    for (const LevelRun& run : *runs) {
        hb_buffer_clear_contents(buffer.get());
        hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const std::uint32_t*>(text.data()),
                            static_cast<int>(text.size()), static_cast<unsigned>(run.start),
                            static_cast<int>(run.length));
        hb_buffer_set_direction(
            buffer.get(), FRIBIDI_LEVEL_IS_RTL(run.level) ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        if (!language.empty()) {
            hb_buffer_set_language(buffer.get(), hb_language_from_string(language.c_str(), -1));
        }
        hb_buffer_guess_segment_properties(buffer.get());
        // A mark keeps a cluster of its own, so a base glyph stands for the same text with
        // a mark as without.
        hb_buffer_set_cluster_level(buffer.get(), HB_BUFFER_CLUSTER_LEVEL_MONOTONE_CHARACTERS);
        hb_shape(font, buffer.get(), &kNoKerning, 1);

        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &count);
        // Each cluster's characters go with the first of its glyphs.
        std::set<std::size_t> boundaries = {run.start + run.length};
        for (unsigned k = 0; k < count; ++k) {
            boundaries.insert(infos[k].cluster);
        }
        std::set<std::size_t> given;
        for (unsigned k = 0; k < count; ++k) {
            hb_codepoint_t glyph = infos[k].codepoint;
            const std::size_t cluster = infos[k].cluster;
            const std::size_t end = *boundaries.upper_bound(cluster);
            // HarfBuzz shows a format character (ZERO WIDTH NON-JOINER) as a blank: it is
            // drawn as the face's own glyph for it, copied as itself, or left out.
            if (AllIgnorable(text, cluster, end)) {
                if (!hb_font_get_nominal_glyph(font, text[cluster], &glyph)) {
                    continue;
                }
            }
            if (glyph == 0 || glyph > 0xFFFF || positions[k].y_advance != 0) {
                return std::nullopt;
            }
            EmbeddedGlyph shaped;
            shaped.code = static_cast<std::uint16_t>(glyph);
            // Font units until the face is known.
            shaped.width = positions[k].x_advance;
            shaped.xOffset = positions[k].x_offset;
            shaped.yOffset = positions[k].y_offset;
            shaped.rightToLeft = FRIBIDI_LEVEL_IS_RTL(run.level);
            if (given.insert(cluster).second) {
                for (std::size_t c = cluster; c < end; ++c) {
                    shaped.text += CodePointToUtf8(text[c]);
                }
            }
            glyphs.push_back(std::move(shaped));
        }
    }
    return glyphs;
}

std::string BlobBytes(hb_blob_t* blob) {
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    return data != nullptr ? std::string(data, length) : std::string();
}

// CFF outlines are found by CID: the charset of the subset's CFF gives each glyph its CID.
std::optional<std::vector<std::uint16_t>> CidsOfGlyphs(const std::string& subsetFont,
                                                       unsigned glyphCount) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return std::nullopt;
    }
    std::optional<std::vector<std::uint16_t>> cids;
    FT_Face face = nullptr;
    FT_Bool cidKeyed = 0;
    if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(subsetFont.data()),
                           static_cast<FT_Long>(subsetFont.size()), 0, &face) == 0) {
        if (FT_Get_CID_Is_Internally_CID_Keyed(face, &cidKeyed) == 0 && cidKeyed != 0) {
            cids.emplace();
            for (unsigned glyph = 0; glyph < glyphCount && cids; ++glyph) {
                FT_UInt cid = 0;
                if (FT_Get_CID_From_Glyph_Index(face, glyph, &cid) != 0 || cid > 0xFFFF) {
                    cids.reset();
                } else {
                    cids->push_back(static_cast<std::uint16_t>(cid));
                }
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return cids;
}

}  // namespace

std::optional<EmbeddedTexts> EmbedInFace(const FaceFile& candidate,
                                         const std::vector<std::u32string>& texts,
                                         const std::string& language) {
    const Blob blob(hb_blob_create_from_file_or_fail(candidate.file.c_str()));
    if (!blob) {
        return std::nullopt;
    }
    const Face face(hb_face_create(blob.get(), static_cast<unsigned>(candidate.index)));
    const Blob glyf(hb_face_reference_table(face.get(), HB_TAG('g', 'l', 'y', 'f')));
    const Blob cff(hb_face_reference_table(face.get(), HB_TAG('C', 'F', 'F', ' ')));
    const bool trueType = hb_blob_get_length(glyf.get()) > 0;
    if (!trueType && hb_blob_get_length(cff.get()) == 0) {
        return std::nullopt;
    }
    const Font font(hb_font_create(face.get()));
    const unsigned unitsPerEm = hb_face_get_upem(face.get());

    EmbeddedTexts embedded;
    const SubsetInput input(hb_subset_input_create_or_fail());
    if (!input) {
        return std::nullopt;
    }
    hb_set_t* keep = hb_subset_input_glyph_set(input.get());
    for (const std::u32string& text : texts) {
        auto run = Shape(font.get(), text, language);
        if (!run) {
            return std::nullopt;
        }
        for (const EmbeddedGlyph& glyph : *run) {
            hb_set_add(keep, glyph.code);
        }
        embedded.runs.push_back(std::move(*run));
    }

    // Only outlines and metrics: the layout tables were used above and are not needed
    // to draw, and their closure would pull in glyphs no text uses.
    hb_set_t* drop = hb_subset_input_set(input.get(), HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const hb_tag_t tag : {HB_TAG('G', 'S', 'U', 'B'), HB_TAG('G', 'P', 'O', 'S'),
                               HB_TAG('G', 'D', 'E', 'F'), HB_TAG('n', 'a', 'm', 'e')}) {
        hb_set_add(drop, tag);
    }
    hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_NO_HINTING);
    const SubsetPlan plan(hb_subset_plan_create_or_fail(face.get(), input.get()));
    if (!plan) {
        return std::nullopt;
    }
    const Face subset(hb_subset_plan_execute_or_fail(plan.get()));
    if (!subset) {
        return std::nullopt;
    }
    const hb_map_t* newGlyphs = hb_subset_plan_old_to_new_glyph_mapping(plan.get());
    const Blob subsetBlob(hb_face_reference_blob(subset.get()));
    EmbeddedFont& program = embedded.font;
    std::optional<std::vector<std::uint16_t>> cids;
    if (trueType) {
        program.outlines = EmbeddedFont::Outlines::TrueType;
        program.program = BlobBytes(subsetBlob.get());
    } else {
        program.outlines = EmbeddedFont::Outlines::Cff;
        cids = CidsOfGlyphs(BlobBytes(subsetBlob.get()), hb_face_get_glyph_count(subset.get()));
        const Blob subsetCff(hb_face_reference_table(subset.get(), HB_TAG('C', 'F', 'F', ' ')));
        program.program = BlobBytes(subsetCff.get());
        if (!cids || program.program.empty()) {
            return std::nullopt;
        }
    }

    // Codes are the subset's glyph ids (TrueType) or their CIDs (CFF); widths in
    // thousandths of the em; the box around every glyph drawn.
    hb_glyph_extents_t box{0, 0, 0, 0};
    bool boxStarted = false;
    for (GlyphRun& run : embedded.runs) {
        for (EmbeddedGlyph& glyph : run) {
            hb_glyph_extents_t extents{};
            if (hb_font_get_glyph_extents(font.get(), glyph.code, &extents)) {
                const hb_position_t right = extents.x_bearing + extents.width;
                const hb_position_t bottom = extents.y_bearing + extents.height;
                if (!boxStarted) {
                    box = {extents.x_bearing, extents.y_bearing, right, bottom};
                    boxStarted = true;
                }
                box.x_bearing = std::min(box.x_bearing, extents.x_bearing);
                box.y_bearing = std::max(box.y_bearing, extents.y_bearing);
                box.width = std::max(box.width, right);
                box.height = std::min(box.height, bottom);
            }
            const hb_codepoint_t newGlyph = hb_map_get(newGlyphs, glyph.code);
            if (newGlyph == HB_MAP_VALUE_INVALID || (cids && newGlyph >= cids->size())) {
                return std::nullopt;
            }
            glyph.code = static_cast<std::uint16_t>(cids ? (*cids)[newGlyph] : newGlyph);
            glyph.width = Thousandths(glyph.width, unitsPerEm);
            glyph.xOffset = Thousandths(glyph.xOffset, unitsPerEm);
            glyph.yOffset = Thousandths(glyph.yOffset, unitsPerEm);
        }
    }
    program.postScriptName = candidate.postScriptName;
    program.boundingBox = {Thousandths(box.x_bearing, unitsPerEm),
                           Thousandths(box.height, unitsPerEm), Thousandths(box.width, unitsPerEm),
                           Thousandths(box.y_bearing, unitsPerEm)};
    hb_position_t metric = 0;
    hb_ot_metrics_get_position_with_fallback(font.get(), HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER,
                                             &metric);
    program.ascent = Thousandths(metric, unitsPerEm);
    hb_ot_metrics_get_position_with_fallback(font.get(), HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER,
                                             &metric);
    program.descent = Thousandths(metric, unitsPerEm);
    hb_ot_metrics_get_position_with_fallback(font.get(), HB_OT_METRICS_TAG_CAP_HEIGHT, &metric);
    program.capHeight = Thousandths(metric, unitsPerEm);
    // The usual estimate of the vertical stems from the weight class.
    const float weight = hb_style_get_value(font.get(), HB_STYLE_TAG_WEIGHT);
    program.stemV = static_cast<std::int32_t>(std::lround(10 + 220 * (weight - 50) / 900));
    return embedded;
}

bool HoldsCharacters(const FaceFile& file, const std::u32string& characters) {
    const Blob blob(hb_blob_create_from_file_or_fail(file.file.c_str()));
    if (!blob) {
        return false;
    }
    const Face face(hb_face_create(blob.get(), static_cast<unsigned>(file.index)));
    const Font font(hb_font_create(face.get()));
    return std::all_of(characters.begin(), characters.end(), [&](char32_t c) {
        hb_codepoint_t glyph = 0;
        return IsDefaultIgnorable(c) || hb_font_get_nominal_glyph(font.get(), c, &glyph);
    });
}

std::optional<WinAnsiWidths> WinAnsiWidthsOf(const FaceFile& file) {
    const Blob blob(hb_blob_create_from_file_or_fail(file.file.c_str()));
    if (!blob) {
        return std::nullopt;
    }
    const Face face(hb_face_create(blob.get(), static_cast<unsigned>(file.index)));
    const Font font(hb_font_create(face.get()));
    const unsigned unitsPerEm = hb_face_get_upem(face.get());
    WinAnsiWidths widths{};
    for (unsigned code = 0; code < widths.size(); ++code) {
        hb_codepoint_t glyph = 0;
        const char32_t c = WinAnsiCharacter(static_cast<unsigned char>(code));
        if (c != 0 && hb_font_get_nominal_glyph(font.get(), c, &glyph)) {
            widths[code] = Thousandths(hb_font_get_glyph_h_advance(font.get(), glyph), unitsPerEm);
        }
    }
    return widths;
}

}  // namespace tessaly
