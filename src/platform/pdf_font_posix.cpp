#include <dlfcn.h>

#include "platform/pdf_font.h"
#include "platform/pdf_font_module.h"
#include "platform/system.h"

namespace tessaly {

namespace {

struct FontModule {
    TessalyEmbedTextsFunction* embed = nullptr;
    TessalyHelveticaBoldWidthsFunction* helveticaBoldWidths = nullptr;
};

// Installed beside the program's libraries, else beside the program, else where this
// build made it.
FontModule LoadFontModule() {
    const std::string folder = ProgramFolder();
    for (const std::string& path :
         {folder + TESSALY_FONT_MODULE_FROM_PROGRAM, folder + TESSALY_FONT_MODULE_NAME,
          std::string(TESSALY_FONT_MODULE_BUILT)}) {
        if (void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            void* embed = ::dlsym(module, kTessalyEmbedTextsSymbol);
            void* widths = ::dlsym(module, kTessalyHelveticaBoldWidthsSymbol);
            if (embed != nullptr && widths != nullptr) {
                return {reinterpret_cast<TessalyEmbedTextsFunction*>(embed),
                        reinterpret_cast<TessalyHelveticaBoldWidthsFunction*>(widths)};
            }
            ::dlclose(module);
        }
    }
    return {};
}

const FontModule& Module() {
    static const FontModule module = LoadFontModule();
    return module;
}

}  // namespace

// Without the module (or its libraries) nothing can be embedded, and tables outside
// Windows-1252 are English.
std::optional<EmbeddedTexts> EmbedTextsOfLocaleForPdf(const std::vector<std::string>& utf8Texts,
                                                      const std::string& localeName) {
    std::optional<EmbeddedTexts> embedded;
    if (Module().embed != nullptr) {
        Module().embed(utf8Texts, localeName, embedded);
    }
    return embedded;
}

std::optional<EmbeddedTexts> EmbedTextsForPdf(const std::vector<std::string>& utf8Texts) {
    return EmbedTextsOfLocaleForPdf(utf8Texts, {});
}

std::optional<WinAnsiWidths> HelveticaBoldWidths() {
    std::optional<WinAnsiWidths> widths;
    if (Module().helveticaBoldWidths != nullptr) {
        Module().helveticaBoldWidths(widths);
    }
    return widths;
}

}  // namespace tessaly
