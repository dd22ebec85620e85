#include "support/golden.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "support/test_files.h"

namespace tessaly::test {

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size() - 1);
        lines.push_back(text.substr(0, end + 1));
        text.remove_prefix(end + 1);
    }
    return lines;
}

// A line as it can be read in a test log: control and 8-bit bytes escaped, long lines cut.
std::string Shown(std::string_view line) {
    static constexpr size_t kLongest = 100;
    std::string shown;
    for (const char c : line.substr(0, kLongest)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (byte < 0x20 || byte >= 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 15];
        } else {
            shown += c;
        }
    }
    if (line.size() > kLongest) {
        shown += "... (" + std::to_string(line.size()) + " bytes)";
    }
    return shown;
}

}  // namespace

::testing::AssertionResult MatchesGolden(std::string_view actual, const std::string& name) {
    const std::string path = std::string(TESSALY_GOLDEN_DIR) + "/" + name;
    if (const char* update = std::getenv("TESSALY_UPDATE_GOLDEN");
        update != nullptr && std::string_view(update) == "1") {
        WriteWholeFile(path, std::string(actual));
    }
    const std::string golden = ReadWholeFile(path);
    if (golden == actual) {
        return ::testing::AssertionSuccess();
    }
    const auto want = Lines(golden);
    const auto got = Lines(actual);
    auto result = ::testing::AssertionFailure();
    result << path << " (" << golden.size() << " bytes, " << want.size() << " lines) differs from "
           << "the output (" << actual.size() << " bytes, " << got.size() << " lines):\n";
    int shown = 0;
    for (size_t k = 0; k < std::max(want.size(), got.size()) && shown < 10; ++k) {
        const std::string_view expected = k < want.size() ? want[k] : "<none>";
        const std::string_view output = k < got.size() ? got[k] : "<none>";
        if (expected != output) {
            const auto [at, ignored] =
                std::mismatch(expected.begin(), expected.end(), output.begin(), output.end());
            result << "line " << k + 1 << ", from byte " << at - expected.begin() + 1
                   << "\n  golden: " << Shown(expected) << "\n  output: " << Shown(output) << "\n";
            ++shown;
        }
    }
    return result;
}

}  // namespace tessaly::test
