// The font machinery of Linux, kept in a module of its own (libtessaly-fonts.so) that
// is loaded only when a calendar needs it: HarfBuzz, fontconfig, FreeType and FriBidi
// with their own dependencies would otherwise be loaded at every start of tessaly-cli.
#include "fonts/fonts_module.h"

#include "core/winansi.h"
#include "fonts/fontconfig_faces.h"
#include "fonts/harfbuzz_embedding.h"

namespace tessaly {

namespace {

void EmbedTexts(const std::vector<std::string>& utf8Texts, const std::string& localeName,
                std::optional<EmbeddedTexts>& embedded) {
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
    const std::string language = NamesLanguage(localeName);
    for (const FaceFile& candidate : FacesHolding(characters, language)) {
        if ((embedded = EmbedInFace(candidate, texts, language))) {
            return;
        }
    }
}

// Helvetica-Bold's widths are its metric twin's.
void HelveticaBoldWidths(std::optional<WinAnsiWidths>& widths) {
    if (const auto face = HelveticaTwinBoldFace()) {
        widths = WinAnsiWidthsOf(*face);
    }
}

constexpr FontsModule kModule{kFontsModuleVersion, EmbedTexts, HelveticaBoldWidths};

}  // namespace

}  // namespace tessaly

extern "C" __attribute__((visibility("default"))) const tessaly::FontsModule* TessalyModule() {
    return &tessaly::kModule;
}
