#include "fonts/fontconfig_faces.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "core/default_ignorable.h"
#include "core/owned.h"
#include "fonts/lazy_libraries.h"

namespace tessaly {

namespace {

void DestroyPattern(FcPattern* pattern) {
    Fontconfig()->FcPatternDestroy(pattern);
}
void DestroyCharSet(FcCharSet* characters) {
    Fontconfig()->FcCharSetDestroy(characters);
}
void DestroyFontSet(FcFontSet* faces) {
    Fontconfig()->FcFontSetDestroy(faces);
}

using Pattern = Owned<FcPattern, DestroyPattern>;
using CharSet = Owned<FcCharSet, DestroyCharSet>;
using FontSet = Owned<FcFontSet, DestroyFontSet>;

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
    const FontconfigLibrary* fc = Fontconfig();
    if (fc == nullptr || fc->FcInit() == FcFalse) {
        return faces;
    }
    const CharSet needed(fc->FcCharSetCreate());
    for (const char32_t c : characters) {
        if (!IsDefaultIgnorable(c)) {
            fc->FcCharSetAddChar(needed.get(), c);
        }
    }
    const Pattern pattern(fc->FcPatternCreate());
    for (const char* family : kFamilies) {
        fc->FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    }
    fc->FcPatternAddInteger(pattern.get(), FC_WEIGHT,
                            weight == FaceWeight::Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    fc->FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    fc->FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    fc->FcPatternAddCharSet(pattern.get(), FC_CHARSET, needed.get());
    if (!language.empty()) {
        fc->FcPatternAddString(pattern.get(), FC_LANG,
                               reinterpret_cast<const FcChar8*>(language.c_str()));
    }
    fc->FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    fc->FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultMatch;
    const FontSet sorted(fc->FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
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
        if (fc->FcPatternGetCharSet(face, FC_CHARSET, 0, &held) != FcResultMatch ||
            !fc->FcCharSetIsSubset(needed.get(), held) ||
            fc->FcPatternGetString(face, FC_FILE, 0, &file) != FcResultMatch ||
            fc->FcPatternGetString(face, FC_FONTFORMAT, 0, &format) != FcResultMatch) {
            continue;
        }
        fc->FcPatternGetInteger(face, FC_INDEX, 0, &index);
        fc->FcPatternGetInteger(face, FC_SLANT, 0, &slant);
        fc->FcPatternGetBool(face, FC_VARIABLE, 0, &variable);
        const std::string outlines(reinterpret_cast<const char*>(format));
        // Named instances of variable fonts carry their instance in the index's high bits.
        if ((outlines != "TrueType" && outlines != "CFF") || slant != FC_SLANT_ROMAN ||
            variable == FcTrue || index > 0xFFFF) {
            continue;
        }
        fc->FcPatternGetString(face, FC_POSTSCRIPT_NAME, 0, &postScriptName);
        faces.push_back({reinterpret_cast<const char*>(file), index,
                         postScriptName != nullptr ? reinterpret_cast<const char*>(postScriptName)
                                                   : std::string()});
    }
    return faces;
}

std::optional<FaceFile> HelveticaTwinBoldFace() {
    const FontconfigLibrary* fc = Fontconfig();
    if (fc == nullptr || fc->FcInit() == FcFalse) {
        return std::nullopt;
    }
    for (const char* family : kHelveticaTwins) {
        const Pattern pattern(fc->FcPatternCreate());
        fc->FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
        fc->FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_BOLD);
        fc->FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
        fc->FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
        fc->FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultMatch;
        const Pattern match(fc->FcFontMatch(nullptr, pattern.get(), &result));
        FcChar8* matched = nullptr;
        FcChar8* file = nullptr;
        int weight = 0;
        int index = 0;
        if (!match ||
            fc->FcPatternGetString(match.get(), FC_FAMILY, 0, &matched) != FcResultMatch ||
            std::string_view(reinterpret_cast<const char*>(matched)) != family ||
            fc->FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight) != FcResultMatch ||
            weight != FC_WEIGHT_BOLD ||
            fc->FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
            continue;
        }
        fc->FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
        return FaceFile{reinterpret_cast<const char*>(file), index, family};
    }
    return std::nullopt;
}

std::vector<std::string> FontconfigFiles() {
    std::vector<std::string> paths;
    const FontconfigLibrary* fc = Fontconfig();
    if (fc == nullptr || fc->FcInit() == FcFalse) {
        return paths;
    }
    const auto add = [&](FcStrList* list, bool withFolder) {
        if (list == nullptr) {
            return;
        }
        while (const FcChar8* path = fc->FcStrListNext(list)) {
            std::string file(reinterpret_cast<const char*>(path));
            if (withFolder) {
                // A configuration file added to conf.d changes its folder.
                if (const auto slash = file.find_last_of('/');
                    slash != std::string::npos && slash > 0) {
                    paths.push_back(file.substr(0, slash));
                }
            }
            paths.push_back(std::move(file));
        }
        fc->FcStrListDone(list);
    };
    // The user's own settings and fonts, where they would be if they were made.
    const char* home = std::getenv("HOME");
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string homeFolder = home != nullptr && home[0] == '/' ? home : "";
    const std::string configFolder =
        config != nullptr && config[0] == '/' ? config : homeFolder + "/.config";
    const std::string dataFolder =
        data != nullptr && data[0] == '/' ? data : homeFolder + "/.local/share";
    if (configFolder.front() == '/') {
        paths.push_back(configFolder + "/fontconfig");
        paths.push_back(configFolder + "/fontconfig/fonts.conf");
        paths.push_back(configFolder + "/fontconfig/conf.d");
    }
    if (!homeFolder.empty()) {
        paths.push_back(homeFolder + "/.fonts.conf");
        paths.push_back(homeFolder + "/.fonts.conf.d");
        paths.push_back(homeFolder + "/.fonts");
    }
    if (dataFolder.front() == '/') {
        paths.push_back(dataFolder + "/fonts");
    }
    // fontconfig itself: another version may choose otherwise.
    Dl_info library{};
    if (::dladdr(reinterpret_cast<const void*>(fc->FcInit), &library) != 0 &&
        library.dli_fname != nullptr) {
        paths.emplace_back(library.dli_fname);
    }
    add(fc->FcConfigGetConfigFiles(nullptr), true);
    add(fc->FcConfigGetConfigDirs(nullptr), false);
    add(fc->FcConfigGetCacheDirs(nullptr), false);
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

}  // namespace tessaly
