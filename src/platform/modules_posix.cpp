#include "platform/modules_posix.h"

#include <dlfcn.h>

#include "platform/system.h"

namespace tessaly {

const void* LoadModuleEntry(const ModulePlaces& places, std::uint32_t version,
                            std::string* failure) {
    using Entry = const void*();
    const std::string folder = ProgramFolder();
    std::vector<std::string> paths{folder + places.fromProgram, folder + places.name};
    // The build's own module only for a program of that build: a copy elsewhere, or one
    // whose module fails, must not run whatever is at that path now.
    if (places.built != nullptr && RunsFromBuildFolder()) {
        paths.emplace_back(places.built);
    }
    std::string complaint;
    std::string otherVersion;
    for (const std::string& path : paths) {
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        void* entry = module != nullptr ? ::dlsym(module, kModuleEntrySymbol) : nullptr;
        if (entry == nullptr) {
            const char* reason = ::dlerror();
            if (complaint.empty()) {
                complaint = reason != nullptr ? reason : path;
            }
            if (module != nullptr) {
                ::dlclose(module);
            }
            continue;
        }
        const void* offered = reinterpret_cast<Entry*>(entry)();
        // Every interface begins with its version.
        const std::uint32_t found =
            offered != nullptr ? *static_cast<const std::uint32_t*>(offered) : 0;
        if (found == version) {
            return offered;
        }
        if (otherVersion.empty()) {
            otherVersion = path + " is a module of version " + std::to_string(found) +
                           ", where version " + std::to_string(version) + " is needed";
        }
        ::dlclose(module);
    }
    if (failure != nullptr) {
        *failure = otherVersion.empty() ? complaint : otherVersion;
    }
    return nullptr;
}

}  // namespace tessaly
