#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace tessaly {

// Where one of the program's own modules may be: installed beside the program's
// libraries (a path from the program's folder), beside the program, or where this build
// made it.
struct ModulePlaces {
    const char* fromProgram;
    const char* name;
    const char* built;
};

// The addresses of `symbols`, in their order, from the first place whose module loads
// and has them all; empty when none does, and `failure` (if given) then holds the
// loader's first complaint. A module found stays loaded for the process.
std::vector<void*> LoadModule(const ModulePlaces& places,
                              std::initializer_list<const char*> symbols,
                              std::string* failure = nullptr);

}  // namespace tessaly
