#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdf/embedded_font.h"

namespace tessaly {

// An installed face as fontconfig finds it: its file, its index in a collection, and its
// PostScript name.
struct FaceFile {
    std::string file;
    int index = 0;
    std::string postScriptName;
};

// The language of names of the locale `localeName` (empty: LC_TIME's, found as the C
// library finds it); empty for C and POSIX.
std::string NamesLanguage(const std::string& localeName);

// Scalable, upright faces that hold every one of `characters` but the default-ignorable
// ones (shaping uses those, and no face need draw them), best match first: a sans-serif
// of `weight` as close to Helvetica as the machine has, for `language` where given.
std::vector<FaceFile> FacesHolding(const std::u32string& characters, const std::string& language,
                                   FaceWeight weight);

// The bold face of the first of Helvetica's metric twins that is installed as such (not a
// regular face fontconfig would embolden).
std::optional<FaceFile> HelveticaTwinBoldFace();

// The files and folders fontconfig's answers rest on: its configuration files and their
// folders, the font folders they name and its cache folders (a font installed, a setting
// changed or fc-cache run changes one of them); empty when fontconfig cannot start.
std::vector<std::string> FontconfigFiles();

}  // namespace tessaly
