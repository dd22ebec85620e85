// The font machinery of Linux, kept in a module of its own (libtessaly-fonts.so) that
// is loaded only when a calendar needs it: HarfBuzz, fontconfig, FreeType and FriBidi
// with their own dependencies would otherwise be loaded at every start of tessaly-cli.
#include "fonts/fonts_module.h"

#include <dlfcn.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-subset.h>
#include <hb.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/default_ignorable.h"
#include "core/winansi.h"
#include "fonts/cached_faces.h"
#include "fonts/fontconfig_faces.h"
#include "fonts/harfbuzz_embedding.h"
#include "fonts/lazy_libraries.h"

namespace tessaly {

namespace {

// The first of the best faces holding `characters` that draws all of `texts`.
std::optional<EmbeddedTexts> EmbedInBestFace(const std::u32string& characters,
                                             const std::vector<std::u32string>& texts,
                                             FaceWeight weight, const std::string& language) {
    for (const FaceFile& candidate : CachedFacesHolding(characters, language, weight)) {
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
    SaveFaceCache();
}

// The faces taken for a document's texts, and which of them draws each character.
class FaceChoice {
  public:
    FaceChoice(FaceWeight weight, std::string language)
        : weight_(weight), language_(std::move(language)) {}

    // The face of each character of `text`: one for all where one holds them, a face
    // taken already before a new one; else, run by run, the face of the characters
    // before where it holds the next, else the first taken face, else a new one, that
    // does. Nothing when a character is in no face.
    std::optional<std::vector<std::uint16_t>> FacesOf(const std::u32string& text) {
        for (std::size_t k = 0; k < coverage_.size(); ++k) {
            if (coverage_[k].HoldsAll(text)) {
                return std::vector<std::uint16_t>(text.size(), static_cast<std::uint16_t>(k));
            }
        }
        if (const auto face = Take(text)) {
            return std::vector<std::uint16_t>(text.size(), *face);
        }
        std::vector<std::uint16_t> faceOf(text.size());
        std::optional<std::uint16_t> current;
        for (std::size_t c = 0; c < text.size(); ++c) {
            if (IsDefaultIgnorable(text[c])) {
                continue;  // goes with the character before, or the first after
            }
            if (!current || !coverage_[*current].Holds(text[c])) {
                current.reset();
                for (std::size_t k = 0; k < coverage_.size() && !current; ++k) {
                    if (coverage_[k].Holds(text[c])) {
                        current = static_cast<std::uint16_t>(k);
                    }
                }
                if (!current && !(current = Take(std::u32string(1, text[c])))) {
                    return std::nullopt;
                }
            }
            faceOf[c] = *current;
        }
        const auto first = std::find_if_not(text.begin(), text.end(), IsDefaultIgnorable);
        std::uint16_t face = first == text.end() ? 0 : faceOf[first - text.begin()];
        for (std::size_t c = 0; c < text.size(); ++c) {
            face = IsDefaultIgnorable(text[c]) ? face : faceOf[c];
            faceOf[c] = face;
        }
        return faceOf;
    }

    const std::vector<FaceFile>& Faces() const { return faces_; }

  private:
    // The best face for `characters`, taken now unless it was already.
    std::optional<std::uint16_t> Take(const std::u32string& characters) {
        const std::vector<FaceFile> best = CachedFacesHolding(characters, language_, weight_);
        if (best.empty()) {
            return std::nullopt;
        }
        const auto taken = std::find_if(faces_.begin(), faces_.end(), [&](const FaceFile& face) {
            return face.file == best.front().file && face.index == best.front().index;
        });
        if (taken != faces_.end()) {
            return static_cast<std::uint16_t>(taken - faces_.begin());
        }
        faces_.push_back(best.front());
        coverage_.emplace_back(best.front());
        return static_cast<std::uint16_t>(faces_.size() - 1);
    }

    FaceWeight weight_;
    std::string language_;
    std::vector<FaceFile> faces_;
    std::vector<FaceCoverage> coverage_;
};

// Each text in the faces FaceChoice gives it; each face shaped with and cut once.
void EmbedTextsInFaces(const std::vector<std::string>& utf8Texts, FaceWeight weight,
                       const std::string& localeName, EmbeddedFaces& embedded) {
    const std::string language = NamesLanguage(localeName);
    FaceChoice choice(weight, language);
    std::vector<std::size_t> drawn;  // the texts with faces, in order
    std::vector<std::u32string> texts;
    std::vector<std::vector<std::uint16_t>> faceOf;
    for (std::size_t k = 0; k < utf8Texts.size(); ++k) {
        auto text = Utf8ToCodePoints(utf8Texts[k]);
        auto faces = text ? choice.FacesOf(*text) : std::nullopt;
        if (faces) {
            drawn.push_back(k);
            texts.push_back(std::move(*text));
            faceOf.push_back(std::move(*faces));
        }
    }
    embedded.runs.assign(utf8Texts.size(), std::nullopt);
    if (auto faces = EmbedInFaces(choice.Faces(), texts, faceOf, language)) {
        embedded.fonts = std::move(faces->fonts);
        for (std::size_t k = 0; k < drawn.size(); ++k) {
            embedded.runs[drawn[k]] = std::move(faces->runs[k]);
        }
    }
    SaveFaceCache();
}

// Helvetica-Bold's widths are its metric twin's.
void HelveticaBoldWidths(std::optional<WinAnsiWidths>& widths) {
    if (const auto face = HelveticaTwinBoldFace()) {
        widths = WinAnsiWidthsOf(*face);
    }
}

// The path of the shared object holding `address`.
void AddObjectOf(const void* address, std::vector<std::string>& paths) {
    Dl_info info{};
    if (::dladdr(address, &info) != 0 && info.dli_fname != nullptr) {
        paths.emplace_back(info.dli_fname);
    }
}

// What a remembered result rests on besides the answers: the code that made it.
void FilesRestedOn(std::vector<std::string>& paths) {
    paths = FilesAnswersRestOn();
    if (paths.empty()) {
        return;
    }
    AddObjectOf(reinterpret_cast<const void*>(&FilesRestedOn), paths);
    AddObjectOf(reinterpret_cast<const void*>(&hb_shape), paths);
    AddObjectOf(reinterpret_cast<const void*>(&hb_subset_plan_create_or_fail), paths);
    AddObjectOf(reinterpret_cast<const void*>(&FT_Init_FreeType), paths);
    if (const FribidiLibrary* fribidi = Fribidi(); fribidi != nullptr) {
        AddObjectOf(reinterpret_cast<const void*>(fribidi->fribidi_get_bidi_types), paths);
    }
}

constexpr FontsModule kModule{kFontsModuleVersion, EmbedTexts, EmbedTextsInFaces,
                              HelveticaBoldWidths, FilesRestedOn};

}  // namespace

}  // namespace tessaly

extern "C" __attribute__((visibility("default"))) const tessaly::FontsModule* TessalyModule() {
    return &tessaly::kModule;
}
