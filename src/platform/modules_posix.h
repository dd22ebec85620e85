#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace tessaly {

// Where one of the program's own modules may be: installed beside the program's
// libraries (a path from the program's folder), beside the program, or, for a
// development build run from its folder, where that build made it.
struct ModulePlaces {
    const char* fromProgram;
    const char* name;
    const char* built;  // null in a release build
};

// The one function a module exports: it gives the module's interface, a struct whose
// first member is its version, a std::uint32_t.
inline constexpr const char* kModuleEntrySymbol = "TessalyModule";

// The interface from the first place whose module loads, has the entry and is of
// `version`; null when none does, and `failure` (if given) then says why: that a module
// was of another version, else the loader's first complaint. A module built apart from
// the program may pass its objects otherwise, so another version is refused.
const void* LoadModuleEntry(const ModulePlaces& places, std::uint32_t version,
                            std::string* failure);

template <typename Interface>
const Interface* LoadModuleInterface(const ModulePlaces& places, std::uint32_t version,
                                     std::string* failure = nullptr) {
    static_assert(std::is_standard_layout_v<Interface> && offsetof(Interface, version) == 0 &&
                  std::is_same_v<decltype(Interface::version), std::uint32_t>);
    return static_cast<const Interface*>(LoadModuleEntry(places, version, failure));
}

}  // namespace tessaly
