#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdf/embedded_font.h"

// The entry point of libtessaly-fonts.so, found with dlsym by this name.
extern "C" {
using TessalyEmbedTextsFunction = void(const std::vector<std::string>& utf8Texts,
                                       std::optional<tessaly::EmbeddedTexts>& embedded);
}
inline constexpr const char* kTessalyEmbedTextsSymbol = "TessalyEmbedTextsForPdf";
