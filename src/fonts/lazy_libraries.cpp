#include "fonts/lazy_libraries.h"

#include <dlfcn.h>

#include <cstddef>

namespace tessaly {

namespace {

#define TESSALY_LIBRARY_NAME(name) #name,
#define TESSALY_LIBRARY_SLOT(name) reinterpret_cast<void**>(&library.name),

// Every function of `names` into `slots`, or nothing.
template <typename Library, std::size_t N>
const Library* Load(const char* soname, const char* const (&names)[N], Library& library,
                    void** const (&slots)[N]) {
    void* handle = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return nullptr;
    }
    for (std::size_t k = 0; k < N; ++k) {
        *slots[k] = ::dlsym(handle, names[k]);
        if (*slots[k] == nullptr) {
            return nullptr;
        }
    }
    return &library;
}

}  // namespace

const FontconfigLibrary* Fontconfig() {
    static FontconfigLibrary library;
    static const char* const names[] = {TESSALY_FONTCONFIG_FUNCTIONS(TESSALY_LIBRARY_NAME)};
    static void** const slots[] = {TESSALY_FONTCONFIG_FUNCTIONS(TESSALY_LIBRARY_SLOT)};
    static const FontconfigLibrary* const loaded =
        Load("libfontconfig.so.1", names, library, slots);
    return loaded;
}

const FribidiLibrary* Fribidi() {
    static FribidiLibrary library;
    static const char* const names[] = {TESSALY_FRIBIDI_FUNCTIONS(TESSALY_LIBRARY_NAME)};
    static void** const slots[] = {TESSALY_FRIBIDI_FUNCTIONS(TESSALY_LIBRARY_SLOT)};
    static const FribidiLibrary* const loaded = Load("libfribidi.so.0", names, library, slots);
    return loaded;
}

}  // namespace tessaly
