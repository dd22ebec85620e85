#include <gtest/gtest.h>

#include "settings/ini_document.h"

namespace tessaly {
namespace {

TEST(IniDocument, GetFindsTheLastLineOfTheNameInItsSections) {
    const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
        {"[A]\nx=1\n", "X", "1"},             // names without regard to case
        {"[a]\r\n  x = 1 \r\n", "x", " 1 "},  // blanks around the name only
        {"[A]\nx=1\nx=2\n", "x", "2"},
        {"[A]\nx=1\n[B]\nx=2\n[A]\ny=3\n", "x", "1"},
        {"[A]\nx=1\n[B]\nx=2\n[A]\nx=3", "x", "3"},
        {"x=1\n[A]\n", "x", std::nullopt},  // before any section
        {"[A]\n;x=1\n#x=1\n=1\n", "x", std::nullopt},
        {"[B]\nx=1\n", "x", std::nullopt},
    };
    for (const auto& [text, name, value] : cases) {
        EXPECT_EQ(IniDocument::Parse(text).Get("A", name), value) << text;
    }
}

TEST(IniDocument, SetChangesOneLineAndKeepsTheRest) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"", "x", "[A]\nx=1\n"},
        {"# mine\n[a]\nX=0\n\n[B]\ny=2", "x", "# mine\n[a]\nx=1\n\n[B]\ny=2\n"},
        {"[A]\nz=0\n\n\n[B]\n[A]\n", "x", "[A]\nz=0\nx=1\n\n\n[B]\n[A]\n"},
        {"junk\r\n\x01\xff", "x", "junk\n\x01\xff\n\n[A]\nx=1\n"},
        {"[B]\n\n", "x", "[B]\n\n[A]\nx=1\n"},
    };
    for (const auto& [text, name, expected] : cases) {
        IniDocument document = IniDocument::Parse(text);
        document.Set("A", name, "1");
        EXPECT_EQ(document.Serialise(), expected) << text;
    }
}

TEST(IniDocument, HoldsOnlyWhatReadsBackUnchanged) {
    for (const char* section : {"", " A", "A ", "A]B", "A\nB"}) {
        EXPECT_FALSE(IniDocument::HoldsSection(section)) << section;
    }
    for (const char* name : {"", " A", "A=B", "[A]", ";A", "#A", "A\rB"}) {
        EXPECT_FALSE(IniDocument::HoldsName(name)) << name;
    }
    EXPECT_FALSE(IniDocument::HoldsValue("1\n"));
    EXPECT_TRUE(IniDocument::HoldsSection("Software\\Orvanta\\Tessaly"));
    EXPECT_TRUE(IniDocument::HoldsName("Week Start"));
    EXPECT_TRUE(IniDocument::HoldsValue(" 1 ;#[]="));
}

}  // namespace
}  // namespace tessaly
