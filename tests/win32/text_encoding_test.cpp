#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "platform/text_encoding.h"

namespace tessaly {
namespace {

using namespace std::string_literals;

struct EncodingCase {
    UINT ansiCodePage;
    const char* what;
    std::string input;
    std::optional<std::string> expected;
};

// The input is in the ANSI code page, which under Wine follows the run's LC_ALL.
const EncodingCase kCases[] = {
    {1252, "plain text", "Dec 2026"s, "Dec 2026"s},
    {1252, "empty", ""s, ""s},
    {1252, "Latin letters", "\xE9 \xFC \xDF"s, "\xE9 \xFC \xDF"s},
    {1252, "euro sign and a NUL", "\x80\0x"s, "\x80\0x"s},

    {1251, "plain text", "Dec 2026"s, "Dec 2026"s},
    {1251, "Cyrillic letter", "\xE2"s, std::nullopt},
    {1251, "Cyrillic word", "\xFF\xED\xE2\xE0\xF0\xFC"s, std::nullopt},
    {1251, "numero sign", "\xB9"s, std::nullopt},
    {1251, "guillemets in both", "\xAB\xBB"s, "\xAB\xBB"s},
    {1251, "euro sign at another byte", "\x88"s, "\x80"s},
};

TEST(ToWinAnsi, GivesWindows1252OrNothing) {
    const UINT ansiCodePage = ::GetACP();
    int checked = 0;
    for (const EncodingCase& c : kCases) {
        if (c.ansiCodePage != ansiCodePage) {
            continue;
        }
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ToWinAnsi(c.input), c.expected);
        ++checked;
    }
    if (checked == 0) {
        GTEST_SKIP() << "no cases for the ANSI code page " << ansiCodePage;
    }
}

}  // namespace
}  // namespace tessaly
