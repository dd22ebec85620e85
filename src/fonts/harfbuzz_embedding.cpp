#include "fonts/harfbuzz_embedding.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_CID_H
#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/default_ignorable.h"
#include "core/owned.h"
#include "core/winansi.h"
#include "fonts/harfbuzz_shaping.h"

namespace tessaly {

namespace {

using Blob = Owned<hb_blob_t, hb_blob_destroy>;
using Face = Owned<hb_face_t, hb_face_destroy>;
using Font = Owned<hb_font_t, hb_font_destroy>;
using SubsetInput = Owned<hb_subset_input_t, hb_subset_input_destroy>;
using SubsetPlan = Owned<hb_subset_plan_t, hb_subset_plan_destroy>;

std::int32_t Thousandths(hb_position_t units, unsigned unitsPerEm) {
    return static_cast<std::int32_t>(std::lround(1000.0 * units / unitsPerEm));
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

// A face opened to draw in: shaped with, then cut to the glyphs drawn.
struct OpenFace {
    Blob blob;
    Face face;
    Font font;
    unsigned unitsPerEm = 0;
    bool trueType = false;
    SubsetInput input;
};

std::unique_ptr<OpenFace> Open(const FaceFile& file) {
    auto open = std::make_unique<OpenFace>();
    open->blob.reset(hb_blob_create_from_file_or_fail(file.file.c_str()));
    if (!open->blob) {
        return nullptr;
    }
    open->face.reset(hb_face_create(open->blob.get(), static_cast<unsigned>(file.index)));
    const Blob glyf(hb_face_reference_table(open->face.get(), HB_TAG('g', 'l', 'y', 'f')));
    const Blob cff(hb_face_reference_table(open->face.get(), HB_TAG('C', 'F', 'F', ' ')));
    open->trueType = hb_blob_get_length(glyf.get()) > 0;
    open->input.reset(hb_subset_input_create_or_fail());
    if ((!open->trueType && hb_blob_get_length(cff.get()) == 0) || !open->input) {
        return nullptr;
    }
    open->font.reset(hb_font_create(open->face.get()));
    open->unitsPerEm = hb_face_get_upem(open->face.get());
    return open;
}

// The subset program of the glyphs `face` drew in `runs`, their codes made the subset's
// glyph ids (TrueType) or their CIDs (CFF) and their widths and offsets thousandths of
// the em; nothing when the face cannot be cut.
std::optional<EmbeddedFont> Cut(OpenFace& face, std::uint16_t index, const FaceFile& file,
                                std::vector<std::optional<GlyphRun>>& runs) {
    // Only outlines and metrics: the layout tables were used in shaping and are not
    // needed to draw, and their closure would pull in glyphs no text uses.
    hb_set_t* drop = hb_subset_input_set(face.input.get(), HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const hb_tag_t tag : {HB_TAG('G', 'S', 'U', 'B'), HB_TAG('G', 'P', 'O', 'S'),
                               HB_TAG('G', 'D', 'E', 'F'), HB_TAG('n', 'a', 'm', 'e')}) {
        hb_set_add(drop, tag);
    }
    hb_subset_input_set_flags(face.input.get(), HB_SUBSET_FLAGS_NO_HINTING);
    const SubsetPlan plan(hb_subset_plan_create_or_fail(face.face.get(), face.input.get()));
    if (!plan) {
        return std::nullopt;
    }
    const Face subset(hb_subset_plan_execute_or_fail(plan.get()));
    if (!subset) {
        return std::nullopt;
    }
    const hb_map_t* newGlyphs = hb_subset_plan_old_to_new_glyph_mapping(plan.get());
    const Blob subsetBlob(hb_face_reference_blob(subset.get()));
    EmbeddedFont program;
    std::optional<std::vector<std::uint16_t>> cids;
    if (face.trueType) {
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

    // The box around every glyph drawn.
    const unsigned unitsPerEm = face.unitsPerEm;
    hb_glyph_extents_t box{0, 0, 0, 0};
    bool boxStarted = false;
    for (auto& run : runs) {
        if (!run) {
            continue;
        }
        for (EmbeddedGlyph& glyph : *run) {
            if (glyph.face != index) {
                continue;
            }
            hb_glyph_extents_t extents{};
            if (hb_font_get_glyph_extents(face.font.get(), glyph.code, &extents)) {
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
    program.postScriptName = file.postScriptName;
    program.boundingBox = {Thousandths(box.x_bearing, unitsPerEm),
                           Thousandths(box.height, unitsPerEm), Thousandths(box.width, unitsPerEm),
                           Thousandths(box.y_bearing, unitsPerEm)};
    hb_font_t* font = face.font.get();
    hb_position_t metric = 0;
    hb_ot_metrics_get_position_with_fallback(font, HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER, &metric);
    program.ascent = Thousandths(metric, unitsPerEm);
    hb_ot_metrics_get_position_with_fallback(font, HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER, &metric);
    program.descent = Thousandths(metric, unitsPerEm);
    hb_ot_metrics_get_position_with_fallback(font, HB_OT_METRICS_TAG_CAP_HEIGHT, &metric);
    program.capHeight = Thousandths(metric, unitsPerEm);
    // The usual estimate of the vertical stems from the weight class.
    const float weight = hb_style_get_value(font, HB_STYLE_TAG_WEIGHT);
    program.stemV = static_cast<std::int32_t>(std::lround(10 + 220 * (weight - 50) / 900));
    return program;
}

}  // namespace

std::optional<EmbeddedFaces> EmbedInFaces(const std::vector<FaceFile>& faces,
                                          const std::vector<std::u32string>& texts,
                                          const std::vector<std::vector<std::uint16_t>>& faceOf,
                                          const std::string& language) {
    std::vector<std::unique_ptr<OpenFace>> open;
    std::vector<hb_font_t*> fonts;
    for (const FaceFile& file : faces) {
        open.push_back(Open(file));
        if (!open.back()) {
            return std::nullopt;
        }
        fonts.push_back(open.back()->font.get());
    }
    EmbeddedFaces embedded;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        auto run = ShapeText(fonts, texts[k], faceOf[k], language);
        if (run) {
            for (const EmbeddedGlyph& glyph : *run) {
                hb_set_add(hb_subset_input_glyph_set(open[glyph.face]->input.get()), glyph.code);
            }
        }
        embedded.runs.push_back(std::move(run));
    }
    for (std::size_t k = 0; k < faces.size(); ++k) {
        auto font = Cut(*open[k], static_cast<std::uint16_t>(k), faces[k], embedded.runs);
        if (!font) {
            return std::nullopt;
        }
        embedded.fonts.push_back(std::move(*font));
    }
    return embedded;
}

std::optional<EmbeddedTexts> EmbedInFace(const FaceFile& face,
                                         const std::vector<std::u32string>& texts,
                                         const std::string& language) {
    std::vector<std::vector<std::uint16_t>> faceOf;
    for (const std::u32string& text : texts) {
        faceOf.emplace_back(text.size(), 0);
    }
    auto embedded = EmbedInFaces({face}, texts, faceOf, language);
    if (!embedded) {
        return std::nullopt;
    }
    EmbeddedTexts drawn{std::move(embedded->fonts.front()), {}};
    for (auto& run : embedded->runs) {
        if (!run) {
            return std::nullopt;
        }
        drawn.runs.push_back(std::move(*run));
    }
    return drawn;
}

FaceCoverage::FaceCoverage(const FaceFile& file) : unicodes_(hb_set_create(), hb_set_destroy) {
    const Blob blob(hb_blob_create_from_file_or_fail(file.file.c_str()));
    if (blob) {
        const Face face(hb_face_create(blob.get(), static_cast<unsigned>(file.index)));
        hb_face_collect_unicodes(face.get(), unicodes_.get());
    }
}

bool FaceCoverage::Holds(char32_t c) const {
    return IsDefaultIgnorable(c) || hb_set_has(unicodes_.get(), c);
}

bool FaceCoverage::HoldsAll(const std::u32string& characters) const {
    return std::all_of(characters.begin(), characters.end(), [&](char32_t c) { return Holds(c); });
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
