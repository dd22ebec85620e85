// TPrintPDF's embedded fonts: glyphs drawn in them, and their objects.
#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "core/winansi.h"
#include "pdf/pdf_syntax.h"
#include "pdf/print_pdf.h"

namespace tessaly {

using namespace pdf_syntax;

namespace {

using DrawnGlyphs = std::map<std::uint16_t, EmbeddedGlyph>;

// A hex string of two-byte glyph codes: what Identity-H text is made of.
void PutCodes(std::string& out, GlyphRun::const_iterator first, GlyphRun::const_iterator last) {
    out += '<';
    for (; first != last; ++first) {
        PutHex(out, first->code, 4);
    }
    out += '>';
}

// "ABCDEF+": six capitals drawn from the set of glyphs, so the same glyphs always give
// the same tag and the same file.
std::string SubsetTag(const DrawnGlyphs& glyphs) {
    std::uint64_t hash = 14695981039346656037u;  // FNV-1a
    for (const auto& entry : glyphs) {
        const unsigned code = entry.first;
        for (const unsigned byte : {code >> 8, code & 0xFFu}) {
            hash = (hash ^ byte) * 1099511628211u;
        }
    }
    std::string tag;
    for (int k = 0; k < 6; ++k) {
        tag += static_cast<char>('A' + hash % 26);
        hash /= 26;
    }
    return tag + "+";
}

// Only the characters a PDF name may hold without escapes.
std::string NameCharacters(std::string_view name) {
    std::string kept;
    for (const char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.') {
            kept += c;
        }
    }
    return kept.empty() ? std::string("Embedded") : kept;
}

// A glyph's characters as readers take them: those of a right-to-left glyph from the
// right, since readers reverse a right-to-left line glyph by glyph, each glyph's
// characters with it, and so read a ligature in its own order.
std::u32string ReadBack(const EmbeddedGlyph& glyph) {
    std::u32string text = Utf8ToCodePoints(glyph.text).value_or(std::u32string());
    if (glyph.rightToLeft) {
        std::reverse(text.begin(), text.end());
    }
    return text;
}

void PutUtf16(std::string& out, const std::u32string& text) {
    for (const char32_t c : text) {
        if (c >= 0x10000) {
            PutHex(out, 0xD800 + ((c - 0x10000) >> 10), 4);
            PutHex(out, 0xDC00 + ((c - 0x10000) & 0x3FF), 4);
        } else {
            PutHex(out, c, 4);
        }
    }
}

// The glyphs' codes to the Unicode text they stand for, in UTF-16BE, as readers take it.
std::string ToUnicodeMap(const DrawnGlyphs& glyphs) {
    std::vector<std::pair<std::uint16_t, std::u32string>> entries;
    for (const auto& [code, glyph] : glyphs) {
        if (std::u32string text = ReadBack(glyph); !text.empty()) {
            entries.emplace_back(code, std::move(text));
        }
    }
    std::string map;
    WriteLine(map, "/CIDInit /ProcSet findresource begin");
    WriteLine(map, "12 dict begin");
    WriteLine(map, "begincmap");
    WriteLine(map, "/CIDSystemInfo << /Registry ", Literal{"Adobe"}, " /Ordering ", Literal{"UCS"},
              " /Supplement 0 >> def");
    WriteLine(map, "/CMapName /Adobe-Identity-UCS def");
    WriteLine(map, "/CMapType 2 def");
    WriteLine(map, "1 begincodespacerange");
    WriteLine(map, "<0000> <FFFF>");
    WriteLine(map, "endcodespacerange");
    // At most 100 entries a block.
    for (std::size_t first = 0; first < entries.size(); first += 100) {
        const std::size_t count = std::min<std::size_t>(100, entries.size() - first);
        WriteLine(map, count, " beginbfchar");
        for (std::size_t k = first; k < first + count; ++k) {
            std::string line = "<";
            PutHex(line, entries[k].first, 4);
            line += "> <";
            PutUtf16(line, entries[k].second);
            WriteLine(map, line, ">");
        }
        WriteLine(map, "endbfchar");
    }
    WriteLine(map, "endcmap");
    WriteLine(map, "CMapName currentdict /CMap defineresource pop");
    WriteLine(map, "end");
    WriteLine(map, "end");
    return map;
}

}  // namespace

void TPrintPDF::EmbedFont(EmbeddedFont font) {
    RequireOpen("EmbedFont");
    embeddedFonts_.push_back(std::move(font));
}

void TPrintPDF::DrawGlyphs(std::int32_t x, std::int32_t y, const GlyphRun& run) {
    RequireOpen("DrawGlyphs");
    const std::uint16_t firstFace = run.empty() ? 0 : run.front().face;
    bool oneFace = true;
    bool unmoved = true;    // no glyph off its advance
    bool spacing = true;    // every glyph that stands for characters advances
    bool readsBack = true;  // every code reads back as the text of its glyphs here
    for (const EmbeddedGlyph& glyph : run) {
        if (glyph.face >= drawnFaces_.size()) {
            drawnFaces_.resize(glyph.face + 1u);
        }
        const EmbeddedGlyph& first =
            drawnFaces_[glyph.face].glyphs.try_emplace(glyph.code, glyph).first->second;
        oneFace = oneFace && glyph.face == firstFace;
        unmoved = unmoved && glyph.xOffset == 0 && glyph.yOffset == 0;
        spacing = spacing && (glyph.width != 0 || glyph.text.empty());
        readsBack = readsBack && (glyph.text == first.text || glyph.text.empty());
    }
    // Readers place a text by its glyphs: a mark off its advance, or without one, would
    // break its word or its line, and a code gives back only its first glyph's text. Such
    // a run is copied whole through an ActualText, as they would read the glyphs back.
    const bool actualText = !unmoved || !spacing || !readsBack;
    if (actualText) {
        std::string text = "FEFF";
        for (const EmbeddedGlyph& glyph : run) {
            PutUtf16(text, ReadBack(glyph));
        }
        WriteLine(text_, "/Span << /ActualText <", text, "> >> BDC");
    }
    WriteLine(text_, "BT");
    WriteLine(text_, "/F", EmbeddedFontNumber(firstFace), " ", Font.Size, " Tf");
    WriteLine(text_, x, " ", std::int64_t{PageHeight} - y, " Td");
    // A plain string draws each glyph at its code's width: where only advances differ
    // (kerning), as its glyphs have always been drawn.
    if (oneFace && unmoved) {
        std::string codes;
        PutCodes(codes, run.begin(), run.end());
        WriteLine(text_, codes, " Tj");
    } else {
        WritePlacedGlyphs(run);
    }
    WriteLine(text_, "ET");
    if (actualText) {
        WriteLine(text_, "EMC");
    }
}

// Each glyph goes to its own place: TJ numbers move the pen there from where the glyph
// before left it, Ts raises it, and a change of face ends the array.
void TPrintPDF::WritePlacedGlyphs(const GlyphRun& run) {
    std::string array;
    std::string codes;
    const auto endCodes = [&] {
        if (!codes.empty()) {
            array += array.empty() ? "<" : " <";
            array += codes;
            array += '>';
            codes.clear();
        }
    };
    const auto endArray = [&] {
        endCodes();
        if (!array.empty()) {
            WriteLine(text_, "[", array, "] TJ");
            array.clear();
        }
    };
    std::uint16_t face = run.front().face;
    std::int64_t rise = 0;     // thousandths of a point
    std::int64_t pen = 0;      // thousandths of the size from the run's start
    std::int64_t advance = 0;  // where the glyph's advance starts
    for (const EmbeddedGlyph& glyph : run) {
        if (glyph.face != face) {
            endArray();
            face = glyph.face;
            WriteLine(text_, "/F", EmbeddedFontNumber(face), " ", Font.Size, " Tf");
        }
        if (const std::int64_t glyphRise = std::int64_t{glyph.yOffset} * Font.Size;
            glyphRise != rise) {
            endArray();
            rise = glyphRise;
            WriteLine(text_, Thousandths{rise}, " Ts");
        }
        // A TJ number moves the pen left by thousandths of the size.
        const std::int64_t origin = advance + glyph.xOffset;
        if (pen != origin) {
            endCodes();
            array += array.empty() ? "" : " ";
            Put(array, pen - origin);
        }
        PutHex(codes, glyph.code, 4);
        pen = origin + drawnFaces_[face].glyphs.at(glyph.code).width;
        advance += glyph.width;
    }
    endArray();
    if (rise != 0) {
        WriteLine(text_, "0 Ts");
    }
}

void TPrintPDF::WriteEmbeddedFonts() {
    // Each object refers to ones after it: all are numbered first, in writing order: the
    // Type0 fonts (reserved with the later objects), then each one's CIDFont, descriptor,
    // program and ToUnicode map.
    struct Numbers {
        std::size_t face;
        std::int32_t cidFont, descriptor, program, toUnicode;
    };
    std::vector<Numbers> numbers;
    for (std::size_t k = 0; k < drawnFaces_.size(); ++k) {
        if (drawnFaces_[k].object != 0) {
            numbers.push_back({k, Reserve(), Reserve(), Reserve(), Reserve()});
        }
    }
    toUnicodeMaps_.clear();
    std::vector<std::string> names;
    for (const Numbers& face : numbers) {
        const DrawnFace& drawn = drawnFaces_[face.face];
        names.push_back(SubsetTag(drawn.glyphs) +
                        NameCharacters(embeddedFonts_[face.face].postScriptName));
        // Kept until the file is handed over: the map goes out from here.
        toUnicodeMaps_.push_back(ToUnicodeMap(drawn.glyphs));
        OpenObject(drawn.object);
        WriteLine(text_, "<< /Type /Font");
        WriteLine(text_, "/Subtype /Type0");
        WriteLine(text_, "/Name /F", EmbeddedFontNumber(face.face));
        WriteLine(text_, "/BaseFont /", names.back());
        WriteLine(text_, "/Encoding /Identity-H");
        WriteLine(text_, "/DescendantFonts [ ", face.cidFont, " 0 R]");
        WriteLine(text_, "/ToUnicode ", face.toUnicode, " 0 R");
        WriteLine(text_, ">>");
        CloseObject();
    }
    for (std::size_t n = 0; n < numbers.size(); ++n) {
        const Numbers& face = numbers[n];
        const EmbeddedFont& font = embeddedFonts_[face.face];
        const DrawnGlyphs& glyphs = drawnFaces_[face.face].glyphs;
        const bool trueType = font.outlines == EmbeddedFont::Outlines::TrueType;

        OpenObject(face.cidFont);
        WriteLine(text_, "<< /Type /Font");
        WriteLine(text_, "/Subtype /", trueType ? "CIDFontType2" : "CIDFontType0");
        WriteLine(text_, "/BaseFont /", names[n]);
        WriteLine(text_, "/CIDSystemInfo << /Registry ", Literal{"Adobe"}, " /Ordering ",
                  Literal{"Identity"}, " /Supplement 0 >>");
        WriteLine(text_, "/FontDescriptor ", face.descriptor, " 0 R");
        if (trueType) {
            WriteLine(text_, "/CIDToGIDMap /Identity");
        }
        WriteLine(text_, "/DW 1000");
        // Runs of consecutive codes share one bracket: "first [w1 w2 ...]".
        WriteLine(text_, "/W [");
        for (auto run = glyphs.begin(); run != glyphs.end();) {
            std::string line;
            Put(line, run->first);
            line += " [";
            auto next = run;
            do {
                line += ' ';
                Put(line, next->second.width);
                ++next;
            } while (next != glyphs.end() && next->first == std::prev(next)->first + 1);
            WriteLine(text_, line, "]");
            run = next;
        }
        WriteLine(text_, "]");
        WriteLine(text_, ">>");
        CloseObject();

        OpenObject(face.descriptor);
        WriteLine(text_, "<< /Type /FontDescriptor");
        WriteLine(text_, "/FontName /", names[n]);
        WriteLine(text_, "/Flags 4");
        WriteLine(text_, "/FontBBox [ ", font.boundingBox[0], " ", font.boundingBox[1], " ",
                  font.boundingBox[2], " ", font.boundingBox[3], "]");
        WriteLine(text_, "/ItalicAngle 0");
        WriteLine(text_, "/Ascent ", font.ascent);
        WriteLine(text_, "/Descent ", font.descent);
        WriteLine(text_, "/CapHeight ", font.capHeight);
        WriteLine(text_, "/StemV ", font.stemV);
        WriteLine(text_, trueType ? "/FontFile2 " : "/FontFile3 ", face.program, " 0 R");
        WriteLine(text_, ">>");
        CloseObject();

        OpenObject(face.program);
        if (trueType) {
            WriteLine(text_, "<< /Length ", font.program.size(), " /Length1 ", font.program.size(),
                      " >>");
        } else {
            WriteLine(text_, "<< /Length ", font.program.size(), " /Subtype /CIDFontType0C >>");
        }
        WriteLine(text_, "stream");
        AppendOutside(font.program);
        WriteLine(text_);
        WriteLine(text_, "endstream");
        CloseObject();

        OpenObject(face.toUnicode);
        WriteLine(text_, "<< /Length ", toUnicodeMaps_[n].size(), " >>");
        WriteLine(text_, "stream");
        AppendOutside(toUnicodeMaps_[n]);
        WriteLine(text_, "endstream");
        CloseObject();
    }
}

}  // namespace tessaly
