// The font machinery of Linux, kept in a module of its own (libtessaly-fonts.so) that
// is loaded only when a calendar needs it: HarfBuzz, fontconfig, FreeType and FriBidi
// with their own dependencies would otherwise be loaded at every start of tessaly-cli.
#include "fonts/fonts_module.h"

#include <algorithm>

#include "core/winansi.h"
#include "fonts/fontconfig_faces.h"
#include "fonts/harfbuzz_embedding.h"

namespace tessaly {

namespace {

// The first of the best faces holding `characters` that draws all of `texts`.
std::optional<EmbeddedTexts> EmbedInBestFace(const std::u32string& characters,
                                             const std::vector<std::u32string>& texts,
                                             FaceWeight weight, const std::string& language) {
    for (const FaceFile& candidate : FacesHolding(characters, language, weight)) {
        if (auto embedded = EmbedInFace(candidate, texts, language)) {
            return embedded;
        }
    }
    return std::nullopt;
}

void EmbedTexts(const std::vector<std::string>& utf8Texts, FaceWeight weight,
                const std::string& localeName, std::optional<EmbeddedTexts>& embedded) {
    std::vector<std::u32string> texts;
    std::u32string characters;
    for (const std::string& utf8 : utf8Texts) {
        auto text = Utf8ToCodePoints(utf8);
        if (!text) {
            return;
        }
        characters += *text;
        texts.push_back(std::move(*text));
    }
    embedded = EmbedInBestFace(characters, texts, weight, NamesLanguage(localeName));
}

// The faces' runs as the k-th face's, in `embedded`.
void AddFace(EmbeddedTexts drawn, const std::vector<std::size_t>& texts, EmbeddedFaces& embedded) {
    const auto face = static_cast<std::uint16_t>(embedded.fonts.size());
    embedded.fonts.push_back(std::move(drawn.font));
    for (std::size_t k = 0; k < texts.size(); ++k) {
        for (EmbeddedGlyph& glyph : drawn.runs[k]) {
            glyph.face = face;
        }
        embedded.runs[texts[k]] = std::move(drawn.runs[k]);
    }
}

// Texts go to the first face taken that holds them, else to the best new one; each face
// is then shaped and cut once, for all its texts.
void EmbedTextsInFaces(const std::vector<std::string>& utf8Texts, FaceWeight weight,
                       const std::string& localeName, EmbeddedFaces& embedded) {
    const std::string language = NamesLanguage(localeName);
    struct Taken {
        FaceFile face;
        std::vector<std::size_t> texts;
    };
    std::vector<Taken> taken;
    std::vector<std::u32string> texts(utf8Texts.size());
    for (std::size_t k = 0; k < utf8Texts.size(); ++k) {
        const auto text = Utf8ToCodePoints(utf8Texts[k]);
        if (!text) {
            continue;
        }
        texts[k] = *text;
        auto holder = std::find_if(taken.begin(), taken.end(), [&](const Taken& face) {
            return HoldsCharacters(face.face, *text);
        });
        if (holder == taken.end()) {
            const std::vector<FaceFile> faces = FacesHolding(*text, language, weight);
            if (faces.empty()) {
                continue;
            }
            holder = taken.insert(taken.end(), {faces.front(), {}});
        }
        holder->texts.push_back(k);
    }
    embedded.runs.assign(utf8Texts.size(), std::nullopt);
    for (const Taken& face : taken) {
        std::vector<std::u32string> faceTexts;
        for (const std::size_t k : face.texts) {
            faceTexts.push_back(texts[k]);
        }
        if (auto drawn = EmbedInFace(face.face, faceTexts, language)) {
            AddFace(std::move(*drawn), face.texts, embedded);
            continue;
        }
        // A face that holds the characters but cannot draw them all (a glyph beyond
        // two-byte codes, a subset it cannot cut): each text alone where it can.
        for (const std::size_t k : face.texts) {
            if (auto alone = EmbedInBestFace(texts[k], {texts[k]}, weight, language)) {
                AddFace(std::move(*alone), {k}, embedded);
            }
        }
    }
}

// Helvetica-Bold's widths are its metric twin's.
void HelveticaBoldWidths(std::optional<WinAnsiWidths>& widths) {
    if (const auto face = HelveticaTwinBoldFace()) {
        widths = WinAnsiWidthsOf(*face);
    }
}

constexpr FontsModule kModule{kFontsModuleVersion, EmbedTexts, EmbedTextsInFaces,
                              HelveticaBoldWidths};

}  // namespace

}  // namespace tessaly

extern "C" __attribute__((visibility("default"))) const tessaly::FontsModule* TessalyModule() {
    return &tessaly::kModule;
}
