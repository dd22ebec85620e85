#include <dlfcn.h>

#include "platform/pdf_font.h"
#include "platform/pdf_font_module.h"
#include "platform/system.h"

namespace tessaly {

namespace {

// Installed beside the program's libraries, else beside the program, else where this
// build made it.
TessalyEmbedTextsFunction* LoadFontModule() {
    const std::string folder = ProgramFolder();
    for (const std::string& path :
         {folder + TESSALY_FONT_MODULE_FROM_PROGRAM, folder + TESSALY_FONT_MODULE_NAME,
          std::string(TESSALY_FONT_MODULE_BUILT)}) {
        if (void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            if (void* entry = ::dlsym(module, kTessalyEmbedTextsSymbol)) {
                return reinterpret_cast<TessalyEmbedTextsFunction*>(entry);
            }
            ::dlclose(module);
        }
    }
    return nullptr;
}

}  // namespace

// Without the module (or its libraries) nothing can be embedded, and tables outside
// Windows-1252 are English.
std::optional<EmbeddedTexts> EmbedTextsForPdf(const std::vector<std::string>& utf8Texts) {
    static TessalyEmbedTextsFunction* const embed = LoadFontModule();
    std::optional<EmbeddedTexts> embedded;
    if (embed != nullptr) {
        embed(utf8Texts, embedded);
    }
    return embedded;
}

}  // namespace tessaly
