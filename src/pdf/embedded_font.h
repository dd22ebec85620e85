#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// One glyph of a text drawn in an embedded font.
struct EmbeddedGlyph {
    // The two-byte code written into the page: the glyph's CID in the embedded program
    // (its glyph index for TrueType outlines, its charset CID for CFF outlines).
    std::uint16_t code = 0;
    // Advance in thousandths of the font size.
    std::int32_t width = 0;
    // The UTF-8 characters the glyph stands for, for copying and searching; empty for a
    // glyph that only completes an earlier glyph's characters.
    std::string text;
    // Where it is drawn, in thousandths of the font size, from where its advance starts
    // (up is positive): a mark's place on its base.
    std::int32_t xOffset = 0;
    std::int32_t yOffset = 0;
    // Which of the document's embedded faces it is a glyph of, in the order they were
    // embedded.
    std::uint16_t face = 0;
    // Its characters read right to left: readers take a right-to-left line's glyphs from
    // the right, and a glyph's several characters with them.
    bool rightToLeft = false;
};

// Glyphs in drawing order, left to right.
using GlyphRun = std::vector<EmbeddedGlyph>;

// A font program to embed, as the platform's font machinery gives it.
struct EmbeddedFont {
    enum class Outlines {
        TrueType,  // `program` is a TrueType font: /FontFile2 under a CIDFontType2
        Cff,       // `program` is a CID-keyed CFF table: /FontFile3 under a CIDFontType0
    };
    Outlines outlines = Outlines::TrueType;
    std::string postScriptName;  // without the subset tag
    std::string program;         // holds at least every glyph drawn
    // FontDescriptor metrics, in thousandths of the em.
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t capHeight = 0;
    std::int32_t stemV = 0;
    std::array<std::int32_t, 4> boundingBox{};  // left, bottom, right, top
};

// Advance widths of a standard font's 256 WinAnsi codes, in thousandths of the font size:
// what a text in that font measures.
using WinAnsiWidths = std::array<std::int32_t, 256>;

// Texts made into glyphs of one embedded font: runs[k] draws the k-th text asked for.
struct EmbeddedTexts {
    EmbeddedFont font;
    std::vector<GlyphRun> runs;
};

// Texts made into glyphs of several embedded fonts, one subset each: runs[k] draws the
// k-th text asked for, in fonts[glyph.face], or nothing where no font could.
struct EmbeddedFaces {
    std::vector<EmbeddedFont> fonts;
    std::vector<std::optional<GlyphRun>> runs;
};

// The weight of the faces asked for.
enum class FaceWeight {
    Bold,     // as close to Helvetica-Bold as the machine has
    Regular,  // as close to Helvetica
};

// What a document asks of the machine's fonts, once, before it is drawn: UTF-8 texts to
// draw in embedded faces. (The standard fonts' widths are built in: pdfcalendar's
// standard_font_widths.h.)
struct EmbeddingRequest {
    // All of them in one bold face, or none: texts that must not mix typefaces.
    std::vector<std::string> together;
    // Each in a regular face that draws it, as few faces as they need.
    std::vector<std::string> each;

    bool Empty() const { return together.empty() && each.empty(); }
};

// What the fonts gave: the faces, each glyph naming its own, and the runs, the k-th
// drawing the k-th text asked for; nothing where no face could.
struct EmbeddingResult {
    std::vector<EmbeddedFont> fonts;
    std::optional<std::vector<GlyphRun>> together;
    std::vector<std::optional<GlyphRun>> each;
    // Widths of the standard bold font to centre titles by, for a caller that draws with
    // widths of its own (DrawPdfCalendar); a calendar file takes the built-in ones.
    std::optional<WinAnsiWidths> boldWidths;
};

}  // namespace tessaly
