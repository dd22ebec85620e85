#pragma once

#include <fontconfig/fontconfig.h>
#include <fribidi.h>

namespace tessaly {

// fontconfig and FriBidi are opened when a run first needs them, not with the module: a
// run whose faces are remembered never starts fontconfig, and only right-to-left text
// needs FriBidi.
// clang-format off
#define TESSALY_FONTCONFIG_FUNCTIONS(X) \
    X(FcInit)                           \
    X(FcCharSetCreate)                  \
    X(FcCharSetAddChar)                 \
    X(FcCharSetDestroy)                 \
    X(FcCharSetIsSubset)                \
    X(FcPatternCreate)                  \
    X(FcPatternDestroy)                 \
    X(FcPatternAddString)               \
    X(FcPatternAddInteger)              \
    X(FcPatternAddBool)                 \
    X(FcPatternAddCharSet)              \
    X(FcPatternGetCharSet)              \
    X(FcPatternGetString)               \
    X(FcPatternGetInteger)              \
    X(FcPatternGetBool)                 \
    X(FcConfigSubstitute)               \
    X(FcDefaultSubstitute)              \
    X(FcFontSort)                       \
    X(FcFontMatch)                      \
    X(FcFontSetDestroy)                 \
    X(FcConfigGetConfigFiles)           \
    X(FcConfigGetConfigDirs)            \
    X(FcConfigGetCacheDirs)             \
    X(FcStrListNext)                    \
    X(FcStrListDone)

#define TESSALY_FRIBIDI_FUNCTIONS(X)       \
    X(fribidi_get_bidi_types)              \
    X(fribidi_get_bracket_types)           \
    X(fribidi_get_par_embedding_levels_ex)
// clang-format on

#define TESSALY_LIBRARY_FUNCTION(name) decltype(&::name) name;

struct FontconfigLibrary {
    TESSALY_FONTCONFIG_FUNCTIONS(TESSALY_LIBRARY_FUNCTION)
};

struct FribidiLibrary {
    TESSALY_FRIBIDI_FUNCTIONS(TESSALY_LIBRARY_FUNCTION)
};

// The library with all its functions, opened on the first call; null when it cannot be.
const FontconfigLibrary* Fontconfig();
const FribidiLibrary* Fribidi();

}  // namespace tessaly
