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
        {"junk\r\n\x01\xff", "x", "junk\r\n\x01\xff\n\n[A]\nx=1\n"},
        {"[B]\n\n", "x", "[B]\n\n[A]\nx=1\n"},
        // Lines it does not own keep their CRs; its own lines end as their neighbours do.
        {"# c\r\n[A]\r\nx=0\r\n", "x", "# c\r\n[A]\r\nx=1\r\n"},
        {"[A]\r\nz=0\r\n\r\n", "x", "[A]\r\nz=0\r\nx=1\r\n\r\n"},
        {"[B]\r\n", "x", "[B]\r\n\r\n[A]\r\nx=1\r\n"},
        // Neither a byte-order mark nor blanks inside the brackets hide the section.
        {"\xEF\xBB\xBF[A]\nz=0\n", "x", "\xEF\xBB\xBF[A]\nz=0\nx=1\n"},
        {"[ a ]\n", "x", "[ a ]\nx=1\n"},
        {"[A]\r\n[A=B]\nx=0\n", "x", "[A]\r\nx=1\r\n[A=B]\nx=0\n"},
    };
    for (const auto& [text, name, expected] : cases) {
        IniDocument document = IniDocument::Parse(text);
        document.Set("A", name, "1");
        EXPECT_EQ(document.Serialise(), expected) << text;
    }
}

TEST(IniDocument, ParseThenSerialiseGivesBackEveryByte) {
    using namespace std::string_literals;
    for (const std::string& text : {"\xEF\xBB\xBF[A]\r\nx=1\r\n"s, "a\r\r\n\r\n \t\n"s,
                                    "[A]\n\0\xff\n"s, "\xEF\xBB\xBF"s, ""s}) {
        EXPECT_EQ(IniDocument::Parse(text).Serialise(), text) << text;
    }
    EXPECT_EQ(IniDocument::Parse("[A]\r\nx=1").Serialise(), "[A]\r\nx=1\n");
}

TEST(IniDocument, HoldsOnlyWhatReadsBackUnchanged) {
    for (const char* section : {"", " A", "A ", "A]B", "A\nB"}) {
        EXPECT_FALSE(IniDocument::HoldsSection(section)) << section;
    }
    for (const char* name : {"", " A", "A=B", "[A]", "[A", ";A", "#A", "A\rB"}) {
        EXPECT_FALSE(IniDocument::HoldsName(name)) << name;
    }
    EXPECT_FALSE(IniDocument::HoldsValue("1\n"));
    EXPECT_TRUE(IniDocument::HoldsSection("Software\\Orvanta\\Tessaly"));
    EXPECT_TRUE(IniDocument::HoldsName("Week Start"));
    EXPECT_TRUE(IniDocument::HoldsValue(" 1 ;#[]="));
}

}  // namespace
}  // namespace tessaly
