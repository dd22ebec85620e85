#include "fonts/face_cache.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaly {
namespace {

// A cache file comes back as it was written; a text changed anywhere, or not of the
// program's making, gives nothing (and never a crash).
TEST(FaceCache, TakesOnlyWhatItWrote) {
    FaceCache cache;
    cache.environment = 0xABCDEF;
    cache.configuration = {{"/etc/fonts/fonts.conf", true, 2940, 1700000000123456789},
                           {"/home/u/.config/fontconfig", false, 0, 0}};
    cache.entries = {
        {QueryOf(U"\u0434 2026 \u200c\u0434\u0410", "ru", FaceWeight::Bold),
         {{"/usr/share/fonts/a b.ttf", 3, "A-Bold", {"/usr/share/fonts/a b.ttf", true, 5, 6}}}},
        {QueryOf(U"x", "", FaceWeight::Regular), {}}};
    const std::string text = FaceCacheText(cache);
    const auto back = ParseFaceCache(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->environment, cache.environment);
    EXPECT_EQ(back->configuration, cache.configuration);
    ASSERT_EQ(back->entries.size(), 2u);
    EXPECT_EQ(back->entries[0].query.characters, U" 026\u0410\u0434");
    EXPECT_EQ(back->entries[0].faces[0].file, "/usr/share/fonts/a b.ttf");
    EXPECT_EQ(back->entries[0].faces[0].index, 3);
    EXPECT_EQ(back->entries[1].query.language, "");

    const std::string bad[] = {
        "",
        text.substr(0, text.size() - 1),
        text.substr(0, text.size() / 2),
        text + "e r - 41\n",
        "tessaly face cache 2" + text.substr(20),
        std::string(70000, 'x'),
    };
    for (const std::string& t : bad) {
        EXPECT_FALSE(ParseFaceCache(t)) << t.substr(0, 80);
    }
    // Any one byte changed.
    for (std::size_t k = 0; k < text.size(); ++k) {
        std::string changed = text;
        changed[k] = static_cast<char>(changed[k] ^ 0x01);
        EXPECT_FALSE(ParseFaceCache(changed)) << k;
    }
    EXPECT_TRUE(CacheablePath("/usr/share/fonts/x.ttf"));
    for (const char* path : {"", "fonts/x.ttf", "/a/../etc/x", "/a/..", "/a\nb"}) {
        EXPECT_FALSE(CacheablePath(path)) << path;
    }
}

}  // namespace
}  // namespace tessaly
