#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/default_ignorable.h"

namespace tessaly {
namespace {

// Perl's own Unicode database says which characters are Default_Ignorable_Code_Point:
// both give the same ranges over all of Unicode.
TEST(DefaultIgnorable, AreUnicodesDefaultIgnorableCodePoints) {
    FILE* perl = ::popen(
        "perl -e 'for $c (0..0x10FFFF) { $m = chr($c) =~ /\\p{Default_Ignorable_Code_Point}/; "
        "printf \"%X-\", $c if $m && !$in; printf \"%X \", $c - 1 if !$m && $in; $in = $m }' "
        "2>/dev/null",
        "r");
    std::string expected;
    char buffer[4096];
    for (std::size_t got = 0; (got = std::fread(buffer, 1, sizeof buffer, perl)) > 0;) {
        expected.append(buffer, got);
    }
    if (::pclose(perl) != 0 || expected.empty()) {
        GTEST_SKIP() << "perl cannot tell Unicode's properties here";
    }
    std::string ranges;
    bool in = false;
    char hex[16];
    for (char32_t c = 0; c <= 0x110000; ++c) {
        const bool ignorable = c < 0x110000 && IsDefaultIgnorable(c);
        if (ignorable != in) {
            std::snprintf(hex, sizeof hex, ignorable ? "%X-" : "%X ",
                          static_cast<unsigned>(ignorable ? c : c - 1));
            ranges += hex;
            in = ignorable;
        }
    }
    EXPECT_EQ(ranges, expected);
}

}  // namespace
}  // namespace tessaly
