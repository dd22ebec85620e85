#pragma once

#include "pdf/embedded_font.h"

namespace tessaly {

// The standard fonts' advance widths of the 256 Windows-1252 codes, in thousandths of
// their size: fixed facts, built in so that measuring a text the code page holds needs
// none of the machine's fonts.
const WinAnsiWidths& HelveticaWidths();
const WinAnsiWidths& HelveticaBoldWinAnsiWidths();

}  // namespace tessaly
