#pragma once

#include <memory>

namespace tessaly {

// An object of a C library, freed by the library's own function when its owner goes.
template <auto Destroy>
struct Destroyer {
    template <typename T>
    void operator()(T* object) const {
        Destroy(object);
    }
};
template <typename T, auto Destroy>
using Owned = std::unique_ptr<T, Destroyer<Destroy>>;

}  // namespace tessaly
