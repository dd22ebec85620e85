#include "fonts/fontconfig_faces.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <string_view>

#include "core/default_ignorable.h"
#include "core/owned.h"

namespace tessaly {

namespace {

using Pattern = Owned<FcPattern, FcPatternDestroy>;
using CharSet = Owned<FcCharSet, FcCharSetDestroy>;
using FontSet = Owned<FcFontSet, FcFontSetDestroy>;

// Helvetica's metric twin first, then the broad faces for the scripts it lacks.
constexpr const char* kFamilies[] = {"Liberation Sans", "DejaVu Sans", "Noto Sans", "sans-serif"};
// Faces tried in fontconfig's order before giving up: each costs a shaping pass.
constexpr int kFacesTried = 4;

// Helvetica's metric twins, whose advances are Helvetica's.
constexpr const char* kHelveticaTwins[] = {"Liberation Sans", "Arimo", "Arial"};

}  // namespace

// The language of the names: the named locale's, else LC_TIME's, found as the C
// library finds it.
std::string NamesLanguage(const std::string& localeName) {
    std::string locale = localeName;
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (locale.empty() && value != nullptr && *value != '\0') {
            locale = value;
        }
    }
    const std::string language = locale.substr(0, locale.find_first_of("_.@"));
    return language == "C" || language == "POSIX" ? std::string() : language;
}

// Scalable, upright faces that hold every character, best match first.
std::vector<FaceFile> FacesHolding(const std::u32string& characters, const std::string& language,
                                   FaceWeight weight) {
    std::vector<FaceFile> faces;
    if (FcInit() == FcFalse) {
        return faces;
    }
    const CharSet needed(FcCharSetCreate());
    for (const char32_t c : characters) {
        if (!IsDefaultIgnorable(c)) {
            FcCharSetAddChar(needed.get(), c);
        }
    }
    const Pattern pattern(FcPatternCreate());
    for (const char* family : kFamilies) {
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    }
    FcPatternAddInteger(pattern.get(), FC_WEIGHT,
                        weight == FaceWeight::Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, needed.get());
    if (!language.empty()) {
        FcPatternAddString(pattern.get(), FC_LANG,
                           reinterpret_cast<const FcChar8*>(language.c_str()));
    }
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultMatch;
    const FontSet sorted(FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
    if (!sorted) {
        return faces;
    }
    for (int k = 0; k < sorted->nfont && static_cast<int>(faces.size()) < kFacesTried; ++k) {
        FcPattern* face = sorted->fonts[k];
        FcCharSet* held = nullptr;
        FcChar8* file = nullptr;
        FcChar8* format = nullptr;
        FcChar8* postScriptName = nullptr;
        int index = 0;
        int slant = FC_SLANT_ROMAN;
        FcBool variable = FcFalse;
        if (FcPatternGetCharSet(face, FC_CHARSET, 0, &held) != FcResultMatch ||
            !FcCharSetIsSubset(needed.get(), held) ||
            FcPatternGetString(face, FC_FILE, 0, &file) != FcResultMatch ||
            FcPatternGetString(face, FC_FONTFORMAT, 0, &format) != FcResultMatch) {
            continue;
        }
        FcPatternGetInteger(face, FC_INDEX, 0, &index);
        FcPatternGetInteger(face, FC_SLANT, 0, &slant);
        FcPatternGetBool(face, FC_VARIABLE, 0, &variable);
        const std::string outlines(reinterpret_cast<const char*>(format));
        // Named instances of variable fonts carry their instance in the index's high bits.
        if ((outlines != "TrueType" && outlines != "CFF") || slant != FC_SLANT_ROMAN ||
            variable == FcTrue || index > 0xFFFF) {
            continue;
        }
        FcPatternGetString(face, FC_POSTSCRIPT_NAME, 0, &postScriptName);
        faces.push_back({reinterpret_cast<const char*>(file), index,
                         postScriptName != nullptr ? reinterpret_cast<const char*>(postScriptName)
                                                   : std::string()});
    }
    return faces;
}

std::optional<FaceFile> HelveticaTwinBoldFace() {
    if (FcInit() == FcFalse) {
        return std::nullopt;
    }
    for (const char* family : kHelveticaTwins) {
        const Pattern pattern(FcPatternCreate());
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
        FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_BOLD);
        FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
        FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultMatch;
        const Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
        FcChar8* matched = nullptr;
        FcChar8* file = nullptr;
        int weight = 0;
        int index = 0;
        if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &matched) != FcResultMatch ||
            std::string_view(reinterpret_cast<const char*>(matched)) != family ||
            FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight) != FcResultMatch ||
            weight != FC_WEIGHT_BOLD ||
            FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
            continue;
        }
        FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
        return FaceFile{reinterpret_cast<const char*>(file), index, family};
    }
    return std::nullopt;
}

}  // namespace tessaly
