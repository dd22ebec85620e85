#include "core/default_ignorable.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tessaly {

namespace {

// The property's ranges, first and last, from Unicode's DerivedCoreProperties.txt.
constexpr std::array<std::pair<char32_t, char32_t>, 17> kRanges = {{
    {0x00AD, 0x00AD},
    {0x034F, 0x034F},
    {0x061C, 0x061C},
    {0x115F, 0x1160},
    {0x17B4, 0x17B5},
    {0x180B, 0x180F},
    {0x200B, 0x200F},
    {0x202A, 0x202E},
    {0x2060, 0x206F},
    {0x3164, 0x3164},
    {0xFE00, 0xFE0F},
    {0xFEFF, 0xFEFF},
    {0xFFA0, 0xFFA0},
    {0xFFF0, 0xFFF8},
    {0x1BCA0, 0x1BCA3},
    {0x1D173, 0x1D17A},
    {0xE0000, 0xE0FFF},
}};

}  // namespace

bool IsDefaultIgnorable(char32_t c) {
    const auto range =
        std::lower_bound(kRanges.begin(), kRanges.end(), c,
                         [](const auto& r, char32_t value) { return r.second < value; });
    return range != kRanges.end() && range->first <= c;
}

}  // namespace tessaly
