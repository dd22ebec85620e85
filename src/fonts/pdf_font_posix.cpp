#include "platform/modules_posix.h"
#include "fonts/font_backend.h"
#include "fonts/pdf_font_module.h"

namespace tessaly {

namespace {

struct FontModule {
    TessalyEmbedTextsFunction* embed = nullptr;
    TessalyHelveticaBoldWidthsFunction* helveticaBoldWidths = nullptr;
};

FontModule LoadFontModule() {
    const auto symbols = LoadModule(
        {TESSALY_FONT_MODULE_FROM_PROGRAM, TESSALY_FONT_MODULE_NAME, TESSALY_FONT_MODULE_BUILT},
        {kTessalyEmbedTextsSymbol, kTessalyHelveticaBoldWidthsSymbol});
    if (symbols.empty()) {
        return {};
    }
    return {reinterpret_cast<TessalyEmbedTextsFunction*>(symbols[0]),
            reinterpret_cast<TessalyHelveticaBoldWidthsFunction*>(symbols[1])};
}

const FontModule& Module() {
    static const FontModule module = LoadFontModule();
    return module;
}

}  // namespace

// Without the module (or its libraries) nothing can be embedded, and tables outside
// Windows-1252 are English.
std::optional<EmbeddedTexts> EmbedTextsInOneFace(const std::vector<std::string>& utf8Texts,
                                                 const std::string& localeName) {
    std::optional<EmbeddedTexts> embedded;
    if (Module().embed != nullptr) {
        Module().embed(utf8Texts, localeName, embedded);
    }
    return embedded;
}

std::optional<WinAnsiWidths> HelveticaBoldWidths() {
    std::optional<WinAnsiWidths> widths;
    if (Module().helveticaBoldWidths != nullptr) {
        Module().helveticaBoldWidths(widths);
    }
    return widths;
}

}  // namespace tessaly
