#include "platform/modules_posix.h"

#include <dlfcn.h>

#include "platform/system.h"

namespace tessaly {

std::vector<void*> LoadModule(const ModulePlaces& places,
                              std::initializer_list<const char*> symbols, std::string* failure) {
    const std::string folder = ProgramFolder();
    for (const std::string& path :
         {folder + places.fromProgram, folder + places.name, std::string(places.built)}) {
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            if (failure != nullptr && failure->empty()) {
                const char* reason = ::dlerror();
                *failure = reason != nullptr ? reason : path;
            }
            continue;
        }
        std::vector<void*> addresses;
        for (const char* symbol : symbols) {
            void* address = ::dlsym(module, symbol);
            if (address == nullptr) {
                break;
            }
            addresses.push_back(address);
        }
        if (addresses.size() == symbols.size()) {
            return addresses;
        }
        ::dlclose(module);
    }
    return {};
}

}  // namespace tessaly
