#include <windows.h>
// After windows.h:
#include <fontsub.h>
#include <usp10.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/default_ignorable.h"
#include "core/winansi.h"
#include "fonts/font_backend.h"
#include "fonts/uniscribe_faces_win32.h"
#include "platform/wide_text_win32.h"

namespace tessaly {

namespace {

// Arial first, Helvetica's look on Windows; then what the system links behind it and
// behind its interface faces, then broad faces for other scripts.
constexpr const wchar_t* kFaces[] = {L"Arial",           L"Liberation Sans",
                                     L"DejaVu Sans",     L"Segoe UI",
                                     L"Tahoma",          L"Yu Gothic",
                                     L"Meiryo",          L"MS Gothic",
                                     L"Microsoft YaHei", L"SimSun",
                                     L"Malgun Gothic",   L"WenQuanYi Micro Hei",
                                     L"Noto Sans Thai",  L"Microsoft Sans Serif"};
constexpr const wchar_t* kLinkedFrom[] = {L"Arial", L"Segoe UI", L"Tahoma"};

// A table tag as GetFontData takes it: the four letters in file order, little-endian.
constexpr DWORD Tag(const char (&name)[5]) {
    return static_cast<DWORD>(static_cast<unsigned char>(name[0])) |
           static_cast<DWORD>(static_cast<unsigned char>(name[1])) << 8 |
           static_cast<DWORD>(static_cast<unsigned char>(name[2])) << 16 |
           static_cast<DWORD>(static_cast<unsigned char>(name[3])) << 24;
}

// The faces the system's font linking puts behind `face` ("FILE.TTC,Face Name,...").
std::vector<std::wstring> LinkedFaces(const wchar_t* face) {
    std::vector<std::wstring> faces;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                        L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink", 0,
                        KEY_READ, &key) != ERROR_SUCCESS) {
        return faces;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, face, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_MULTI_SZ && size > 0) {
        std::vector<wchar_t> value(size / sizeof(wchar_t) + 2, L'\0');
        if (::RegQueryValueExW(key, face, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()),
                               &size) == ERROR_SUCCESS) {
            for (const wchar_t* entry = value.data(); *entry != L'\0';
                 entry += std::wcslen(entry) + 1) {
                const std::wstring text(entry);
                const auto first = text.find(L',');
                if (first != std::wstring::npos) {
                    const auto second = text.find(L',', first + 1);
                    faces.push_back(text.substr(first + 1, second == std::wstring::npos
                                                               ? std::wstring::npos
                                                               : second - first - 1));
                }
            }
        }
    }
    ::RegCloseKey(key);
    return faces;
}

// A device context with one face selected, released with it.
class SelectedFace {
  public:
    SelectedFace(HDC dc, const std::wstring& face, int height, FaceWeight weight = FaceWeight::Bold)
        : dc_(dc) {
        LOGFONTW font{};
        font.lfHeight = -height;
        font.lfWeight = weight == FaceWeight::Bold ? FW_BOLD : FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        font.lfQuality = DEFAULT_QUALITY;
        face.copy(font.lfFaceName, LF_FACESIZE - 1);
        font_ = ::CreateFontIndirectW(&font);
        previous_ = ::SelectObject(dc_, font_);
    }
    ~SelectedFace() {
        ::SelectObject(dc_, previous_);
        ::DeleteObject(font_);
    }
    SelectedFace(const SelectedFace&) = delete;
    SelectedFace& operator=(const SelectedFace&) = delete;

    // The face GDI really chose, which may stand in for the one asked for.
    std::wstring RealFace() const {
        wchar_t name[LF_FACESIZE] = {};
        ::GetTextFaceW(dc_, LF_FACESIZE, name);
        return name;
    }

  private:
    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

std::optional<OUTLINETEXTMETRICW> Metrics(HDC dc, std::vector<char>& storage) {
    const UINT size = ::GetOutlineTextMetricsW(dc, 0, nullptr);
    if (size < sizeof(OUTLINETEXTMETRICW)) {
        return std::nullopt;
    }
    storage.assign(size, 0);
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(storage.data());
    if (::GetOutlineTextMetricsW(dc, size, metrics) == 0) {
        return std::nullopt;
    }
    return *metrics;
}

std::wstring MetricsText(const std::vector<char>& storage, PSTR offset) {
    const auto at = reinterpret_cast<std::uintptr_t>(offset);
    return at > 0 && at < storage.size()
               ? std::wstring(reinterpret_cast<const wchar_t*>(storage.data() + at))
               : std::wstring();
}

// The paragraph runs right to left when its first strong character does.
bool StartsRightToLeft(const std::wstring& text) {
    std::vector<WORD> types(text.size());
    if (text.empty() ||
        !::GetStringTypeW(CT_CTYPE2, text.data(), static_cast<int>(text.size()), types.data())) {
        return false;
    }
    for (const WORD type : types) {
        if (type == C2_LEFTTORIGHT) {
            return false;
        }
        if (type == C2_RIGHTTOLEFT) {
            return true;
        }
    }
    return false;
}

// One text as glyphs of the selected face, in display order, advances and offsets in
// font units. Nothing when a character is missing.
std::optional<GlyphRun> Shape(HDC dc, SCRIPT_CACHE& cache, WORD defaultGlyph,
                              const std::wstring& text) {
    GlyphRun glyphs;
    if (text.empty()) {
        return glyphs;
    }
    const int length = static_cast<int>(text.size());
    SCRIPT_CONTROL control{};
    SCRIPT_STATE state{};
    state.uBidiLevel = StartsRightToLeft(text) ? 1 : 0;
    // Room for an item a character and the end, and for two at least: ScriptItemize
    // refuses fewer, and a text of one character (an ellipsis) would find no face.
    std::vector<SCRIPT_ITEM> items(text.size() + 2);
    int itemCount = 0;
    if (FAILED(::ScriptItemize(text.data(), length, static_cast<int>(items.size()) - 1, &control,
                               &state, items.data(), &itemCount))) {
        return std::nullopt;
    }
    std::vector<BYTE> levels(static_cast<size_t>(itemCount));
    for (int k = 0; k < itemCount; ++k) {
        levels[static_cast<size_t>(k)] =
            static_cast<BYTE>(items[static_cast<size_t>(k)].a.s.uBidiLevel);
    }
    std::vector<int> visualToLogical(static_cast<size_t>(itemCount));
    if (FAILED(::ScriptLayout(itemCount, levels.data(), visualToLogical.data(), nullptr))) {
        return std::nullopt;
    }
    for (const int logical : visualToLogical) {
        SCRIPT_ITEM& item = items[static_cast<size_t>(logical)];
        const int start = item.iCharPos;
        const int count = items[static_cast<size_t>(logical) + 1].iCharPos - start;
        const int maxGlyphs = 3 * count / 2 + 16;
        std::vector<WORD> ids(static_cast<size_t>(maxGlyphs));
        std::vector<WORD> clusters(static_cast<size_t>(count));
        std::vector<SCRIPT_VISATTR> visual(static_cast<size_t>(maxGlyphs));
        int glyphCount = 0;
        if (::ScriptShape(dc, &cache, text.data() + start, count, maxGlyphs, &item.a, ids.data(),
                          clusters.data(), visual.data(), &glyphCount) != S_OK) {
            return std::nullopt;  // among others USP_E_SCRIPT_NOT_IN_FONT
        }
        std::vector<int> advances(static_cast<size_t>(glyphCount));
        std::vector<GOFFSET> offsets(static_cast<size_t>(glyphCount));
        ABC abc{};
        if (FAILED(::ScriptPlace(dc, &cache, ids.data(), glyphCount, visual.data(), &item.a,
                                 advances.data(), offsets.data(), &abc))) {
            return std::nullopt;
        }
        GlyphRun run(static_cast<size_t>(glyphCount));
        std::vector<bool> ignorable(run.size(), true);  // stands only for format characters
        for (int c = 0; c < count; ++c) {
            const WORD glyph = clusters[static_cast<size_t>(c)];
            if (glyph >= glyphCount) {
                return std::nullopt;
            }
            const wchar_t character = text[static_cast<size_t>(start + c)];
            ignorable[glyph] = ignorable[glyph] && IsDefaultIgnorable(character);
            // Each character goes with the glyph its cluster starts at.
            run[glyph].text += Utf8FromWide({&character, 1});
        }
        for (int g = 0; g < glyphCount; ++g) {
            const auto at = static_cast<size_t>(g);
            run[at].code = ids[at];
            run[at].width = advances[at];
            run[at].xOffset = offsets[at].du;
            run[at].yOffset = offsets[at].dv;
            run[at].rightToLeft = item.a.fRTL != 0;
            // A format character (ZERO WIDTH NON-JOINER) is drawn as the face's own glyph
            // for it, of no advance, or left out.
            if (ignorable[at] && !run[at].text.empty()) {
                const std::wstring character = WideFromUtf8(run[at].text).substr(0, 1);
                WORD own = 0xFFFF;
                ::GetGlyphIndicesW(dc, character.c_str(), 1, &own, GGI_MARK_NONEXISTING_GLYPHS);
                run[at].code = own;
                run[at].width = 0;
            }
        }
        for (const EmbeddedGlyph& glyph : run) {
            if (glyph.code == 0xFFFF) {
                continue;
            }
            if (glyph.code == defaultGlyph) {
                return std::nullopt;
            }
            glyphs.push_back(glyph);
        }
    }
    return glyphs;
}

void* Allocate(size_t size) {
    return std::malloc(size);
}
void* Reallocate(void* block, size_t size) {
    return std::realloc(block, size);
}
void Free(void* block) {
    std::free(block);
}

std::uint32_t BigEndian32(const std::string& bytes, size_t at) {
    return at + 4 <= bytes.size()
               ? static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
                     static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
                     static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
                     static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3]))
               : 0u;
}

// The face whose table directory starts at `at` of a collection, as a font of its own:
// its tables copied behind a directory that points at them there.
std::optional<std::string> FaceOfCollection(const std::string& collection, size_t at) {
    if (at + 12 > collection.size()) {
        return std::nullopt;
    }
    const size_t tables = static_cast<unsigned char>(collection[at + 4]) << 8 |
                          static_cast<unsigned char>(collection[at + 5]);
    const size_t directory = 12 + 16 * tables;
    if (at + directory > collection.size()) {
        return std::nullopt;
    }
    std::string face = collection.substr(at, directory);
    for (size_t k = 0; k < tables; ++k) {
        const size_t record = 12 + 16 * k;
        const std::uint32_t offset = BigEndian32(face, record + 8);
        const std::uint32_t length = BigEndian32(face, record + 12);
        if (std::uint64_t{offset} + length > collection.size()) {
            return std::nullopt;
        }
        const auto moved = static_cast<std::uint32_t>(face.size());
        for (int byte = 0; byte < 4; ++byte) {
            face[record + 8 + static_cast<size_t>(byte)] =
                static_cast<char>(moved >> (24 - 8 * byte) & 0xFF);
        }
        face.append(collection, offset, length);
        face.resize((face.size() + 3) / 4 * 4, '\0');
    }
    return face;
}

// The face's font file, cut down to `glyphs` by the system's subsetter, which keeps
// glyph ids. Where it cannot (Wine only copies), the whole font; a face of a collection
// (read whole with the 'ttcf' tag) is taken out of it to stand alone.
std::optional<std::string> Program(HDC dc, std::vector<unsigned short> glyphs) {
    const DWORD collectionSize = ::GetFontData(dc, Tag("ttcf"), 0, nullptr, 0);
    const bool collection = collectionSize != GDI_ERROR && collectionSize > 0;
    const DWORD size = collection ? collectionSize : ::GetFontData(dc, 0, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0) {
        return std::nullopt;
    }
    std::string file(size, '\0');
    if (::GetFontData(dc, collection ? Tag("ttcf") : 0, 0, file.data(), size) != size) {
        return std::nullopt;
    }
    unsigned short index = 0;
    std::uint32_t faceOffset = 0;
    if (collection) {
        // The face's own table directory, as GDI gives it, stands at one of the
        // collection's offsets: that offset's position is the face's index. The faces of
        // a collection share tables, so the whole directory tells them apart.
        char head[12] = {};
        if (::GetFontData(dc, 0, 0, head, sizeof head) != sizeof head || size < 12) {
            return std::nullopt;
        }
        const DWORD directorySize = 12 + 16 * (static_cast<unsigned char>(head[4]) << 8 |
                                               static_cast<unsigned char>(head[5]));
        std::string directory(directorySize, '\0');
        if (::GetFontData(dc, 0, 0, directory.data(), directorySize) != directorySize) {
            return std::nullopt;
        }
        const std::uint32_t count = std::min<std::uint32_t>(BigEndian32(file, 8), 0xFFFF);
        bool found = false;
        for (std::uint32_t k = 0; k < count && !found; ++k) {
            const std::uint32_t offset = BigEndian32(file, 12 + 4 * k);
            if (std::uint64_t{offset} + directorySize <= file.size() &&
                file.compare(offset, directorySize, directory) == 0) {
                index = static_cast<unsigned short>(k);
                faceOffset = offset;
                found = true;
            }
        }
        if (!found) {
            return std::nullopt;
        }
    }
    std::sort(glyphs.begin(), glyphs.end());
    glyphs.erase(std::unique(glyphs.begin(), glyphs.end()), glyphs.end());
    unsigned char* subset = nullptr;
    ULONG subsetSize = 0;
    ULONG written = 0;
    const unsigned short flags =
        TTFCFP_FLAGS_SUBSET | TTFCFP_FLAGS_GLYPHLIST | (collection ? TTFCFP_FLAGS_TTC : 0);
    const ULONG result = ::CreateFontPackage(
        reinterpret_cast<const unsigned char*>(file.data()), size, &subset, &subsetSize, &written,
        flags, index, TTFCFP_SUBSET, TTFCFP_LANG_KEEP_ALL, TTFCFP_MS_PLATFORMID, TTFCFP_DONT_CARE,
        glyphs.data(), static_cast<unsigned short>(glyphs.size()), Allocate, Reallocate, Free,
        nullptr);
    std::optional<std::string> program;
    if (result == 0 && subset != nullptr && written > 0 && !(collection && written == size)) {
        program.emplace(reinterpret_cast<const char*>(subset), written);
    } else if (!collection) {
        program = std::move(file);
    } else {
        program = FaceOfCollection(file, faceOffset);
    }
    std::free(subset);
    return program;
}

std::int32_t Thousandths(long units, UINT unitsPerEm) {
    return static_cast<std::int32_t>(std::lround(1000.0 * units / unitsPerEm));
}

}  // namespace

std::optional<EmbeddedTexts> EmbedInFace(HDC dc, const std::wstring& face,
                                         const std::vector<std::wstring>& texts, FaceWeight weight,
                                         std::vector<std::wstring>& triedFaces) {
    std::vector<char> storage;
    UINT unitsPerEm = 0;
    {
        const SelectedFace probe(dc, face, 1000, weight);
        const std::wstring real = probe.RealFace();
        if (std::find(triedFaces.begin(), triedFaces.end(), real) != triedFaces.end()) {
            return std::nullopt;
        }
        triedFaces.push_back(real);
        const auto metrics = Metrics(dc, storage);
        // TrueType outlines only: a CFF face cannot go through the subsetter.
        const DWORD glyf = ::GetFontData(dc, Tag("glyf"), 0, nullptr, 0);
        if (!metrics || glyf == GDI_ERROR || glyf == 0) {
            return std::nullopt;
        }
        unitsPerEm = metrics->otmEMSquare;
    }
    // At one em per unit of the design grid, GDI's advances are the font's own.
    const SelectedFace selected(dc, face, static_cast<int>(unitsPerEm), weight);
    const auto metrics = Metrics(dc, storage);
    SCRIPT_CACHE cache = nullptr;
    SCRIPT_FONTPROPERTIES properties{};
    properties.cBytes = sizeof properties;
    if (!metrics || FAILED(::ScriptGetFontProperties(dc, &cache, &properties))) {
        ::ScriptFreeCache(&cache);
        return std::nullopt;
    }
    EmbeddedTexts embedded;
    std::vector<unsigned short> used = {0};
    for (const std::wstring& text : texts) {
        auto run = Shape(dc, cache, properties.wgDefault, text);
        if (!run) {
            ::ScriptFreeCache(&cache);
            return std::nullopt;
        }
        for (EmbeddedGlyph& glyph : *run) {
            used.push_back(glyph.code);
            glyph.width = Thousandths(glyph.width, unitsPerEm);
            glyph.xOffset = Thousandths(glyph.xOffset, unitsPerEm);
            glyph.yOffset = Thousandths(glyph.yOffset, unitsPerEm);
        }
        embedded.runs.push_back(std::move(*run));
    }
    ::ScriptFreeCache(&cache);
    auto program = Program(dc, used);
    if (!program) {
        return std::nullopt;
    }
    EmbeddedFont& font = embedded.font;
    font.outlines = EmbeddedFont::Outlines::TrueType;
    font.program = std::move(*program);
    std::wstring name = MetricsText(storage, metrics->otmpFamilyName) + L"-" +
                        MetricsText(storage, metrics->otmpStyleName);
    name.erase(std::remove(name.begin(), name.end(), L' '), name.end());
    font.postScriptName = Utf8FromWide(name);
    font.ascent = Thousandths(metrics->otmAscent, unitsPerEm);
    font.descent = Thousandths(metrics->otmDescent, unitsPerEm);
    font.capHeight = Thousandths(static_cast<long>(metrics->otmsCapEmHeight), unitsPerEm);
    font.boundingBox = {Thousandths(metrics->otmrcFontBox.left, unitsPerEm),
                        Thousandths(metrics->otmrcFontBox.bottom, unitsPerEm),
                        Thousandths(metrics->otmrcFontBox.right, unitsPerEm),
                        Thousandths(metrics->otmrcFontBox.top, unitsPerEm)};
    // The usual estimate of the vertical stems from the weight class.
    font.stemV = static_cast<std::int32_t>(
        std::lround(10 + 220 * (metrics->otmTextMetrics.tmWeight - 50) / 900.0));
    return embedded;
}

bool FaceHolds(HDC dc, const std::wstring& face, FaceWeight weight, const std::wstring& text) {
    const SelectedFace selected(dc, face, 1000, weight);
    if (selected.RealFace() != face) {
        return false;
    }
    for (const wchar_t c : text) {
        WORD glyph = 0xFFFF;
        if (!IsDefaultIgnorable(c) &&
            (::GetGlyphIndicesW(dc, &c, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) != 1 ||
             glyph == 0xFFFF)) {
            return false;
        }
    }
    return true;
}

std::vector<std::wstring> CandidateFaces() {
    std::vector<std::wstring> faces(std::begin(kFaces), std::begin(kFaces) + 1);
    for (const wchar_t* linkedFrom : kLinkedFrom) {
        for (std::wstring& linked : LinkedFaces(linkedFrom)) {
            faces.push_back(std::move(linked));
        }
    }
    faces.insert(faces.end(), std::begin(kFaces) + 1, std::end(kFaces));
    return faces;
}

// Arial is Helvetica's metric twin on Windows; Liberation Sans where Arial is missing.
// A face GDI puts in their place is not taken.
std::optional<WinAnsiWidths> HelveticaBoldWidths() {
    const HDC dc = ::CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        return std::nullopt;
    }
    std::optional<WinAnsiWidths> widths;
    for (const std::wstring face : {L"Arial", L"Liberation Sans"}) {
        std::vector<char> storage;
        UINT unitsPerEm = 0;
        {
            const SelectedFace probe(dc, face, 1000);
            const auto metrics = Metrics(dc, storage);
            if (probe.RealFace() != face || !metrics) {
                continue;
            }
            unitsPerEm = metrics->otmEMSquare;
        }
        // At one em per unit of the design grid, GDI's advances are the font's own.
        const SelectedFace selected(dc, face, static_cast<int>(unitsPerEm));
        widths.emplace();
        for (std::size_t code = 0; code < widths->size(); ++code) {
            const char32_t c = WinAnsiCharacter(static_cast<unsigned char>(code));
            const wchar_t character = static_cast<wchar_t>(c);
            WORD glyph = 0xFFFF;
            INT advance = 0;
            if (c != 0 &&
                ::GetGlyphIndicesW(dc, &character, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 &&
                glyph != 0xFFFF && ::GetCharWidth32W(dc, character, character, &advance)) {
                (*widths)[code] = Thousandths(advance, unitsPerEm);
            }
        }
        break;
    }
    ::DeleteDC(dc);
    return widths;
}

// GDI's fonts are at hand: nothing is remembered between runs.
std::optional<EmbeddingResult> RememberedEmbedding(const EmbeddingRequest&, const std::string&) {
    return std::nullopt;
}

void RememberEmbedding(const EmbeddingRequest&, const std::string&, const EmbeddingResult&) {}

}  // namespace tessaly
