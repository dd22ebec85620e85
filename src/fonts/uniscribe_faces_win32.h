#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "pdf/embedded_font.h"

namespace tessaly {

// The faces tried for texts outside Windows-1252, best first: Arial, what the system's
// font linking puts behind it and its interface faces, then broad faces for other
// scripts.
std::vector<std::wstring> CandidateFaces();

// Whether `face` is installed as itself (not a face GDI puts in its place) and has a
// glyph for every character of `text` but the default-ignorable ones.
bool FaceHolds(HDC dc, const std::wstring& face, FaceWeight weight, const std::wstring& text);

// The texts as glyphs of `face` of `weight`, shaped and ordered by Uniscribe, marks
// placed by their offsets, with a subset program; nothing when it cannot draw them all,
// or when GDI's real face for it is among `triedFaces` (it is added there).
std::optional<EmbeddedTexts> EmbedInFace(HDC dc, const std::wstring& face,
                                         const std::vector<std::wstring>& texts, FaceWeight weight,
                                         std::vector<std::wstring>& triedFaces);

}  // namespace tessaly
