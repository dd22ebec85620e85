#pragma once

#include "core/product_info.h"

namespace tessaly {

inline constexpr const char* kProductName = "Tessaly";
inline constexpr const char* kVersionText = TESSALY_VERSION_TEXT;
inline constexpr const char* kMakerName = TESSALY_MAKER_TEXT;
inline constexpr const char* kMakerNotice = TESSALY_COPYRIGHT_TEXT;
// A reserved example domain: the maker has no public site to point at yet.
inline constexpr const char* kMakerWebAddress = "https://orvanta.example/";
inline constexpr const char* kProductWebAddress = TESSALY_HOMEPAGE_TEXT;
inline constexpr const char* kSettingsKey = "Software\\Orvanta\\Tessaly";

}  // namespace tessaly
