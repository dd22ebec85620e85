#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdf/embedded_font.h"

// The entry points of libtessaly-fonts.so, found with dlsym by these names. An empty
// locale name stands for LC_TIME's.
extern "C" {
using TessalyEmbedTextsFunction = void(const std::vector<std::string>& utf8Texts,
                                       const std::string& localeName,
                                       std::optional<tessaly::EmbeddedTexts>& embedded);
using TessalyHelveticaBoldWidthsFunction = void(std::optional<tessaly::WinAnsiWidths>& widths);
}
inline constexpr const char* kTessalyEmbedTextsSymbol = "TessalyEmbedLocaleTextsForPdf";
inline constexpr const char* kTessalyHelveticaBoldWidthsSymbol = "TessalyHelveticaBoldWidths";
