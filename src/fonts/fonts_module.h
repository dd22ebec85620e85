#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pdf/embedded_font.h"

namespace tessaly {

// What libtessaly-fonts.so offers the program. Nothing is thrown across it; an empty
// locale name stands for LC_TIME's.
struct FontsModule {
    std::uint32_t version;
    void (*embedTexts)(const std::vector<std::string>& utf8Texts, FaceWeight weight,
                       const std::string& localeName, std::optional<EmbeddedTexts>& embedded);
    void (*embedTextsInFaces)(const std::vector<std::string>& utf8Texts, FaceWeight weight,
                              const std::string& localeName, EmbeddedFaces& embedded);
    void (*helveticaBoldWidths)(std::optional<WinAnsiWidths>& widths);
    // The files what this run embedded rests on: the faces, fontconfig's settings and
    // caches, the module and its libraries; nothing when they are not known (the result
    // is then not to be remembered).
    void (*filesRestedOn)(std::vector<std::string>& paths);
};

// Raised with every change of FontsModule or of what it passes.
inline constexpr std::uint32_t kFontsModuleVersion = 3;

}  // namespace tessaly

// The module's one exported function, found by the name "TessalyModule".
extern "C" const tessaly::FontsModule* TessalyModule();
