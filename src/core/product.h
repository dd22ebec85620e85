#pragma once

namespace tessaly {

inline constexpr const char* kProductName = "Tessaly";
inline constexpr const char* kVersionText = "3.5";
inline constexpr const char* kMakerName = "Orvanta";
inline constexpr const char* kMakerNotice = "Copyright 2026 Orvanta";
// Reserved example domains: the maker has no public site to point at yet.
inline constexpr const char* kMakerWebAddress = "https://orvanta.example/";
inline constexpr const char* kProductWebAddress = "https://orvanta.example/tessaly/";
inline constexpr const char* kSettingsKey = "Software\\Orvanta\\Tessaly";

}  // namespace tessaly
