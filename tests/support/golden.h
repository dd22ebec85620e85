#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tessaly::test {

// Whether `actual` is, byte for byte, the golden file tests/golden/<name>. A difference
// is reported line by line (lines end at LF; CR and other control bytes shown escaped).
// With TESSALY_UPDATE_GOLDEN=1 in the environment the file is rewritten from `actual`
// instead, to be reviewed before it is committed.
::testing::AssertionResult MatchesGolden(std::string_view actual, const std::string& name);

}  // namespace tessaly::test
