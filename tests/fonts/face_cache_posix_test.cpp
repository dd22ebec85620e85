#include "fonts/face_cache.h"

#include "fonts/embedding_cache.h"

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

// A remembered result comes back whole; bytes changed anywhere, or glyphs naming a face
// it does not hold, give nothing.
TEST(EmbeddingCache, TakesOnlyWhatItWrote) {
    EmbeddingCacheEntry entry;
    entry.key = EmbeddingKey({{"\xD0\x94"}, {"x"}}, "ru_RU.UTF-8");
    entry.restingOn = {{"/usr/share/fonts/a.ttf", true, 5, 6}};
    entry.result.fonts.push_back({EmbeddedFont::Outlines::Cff,
                                  "A",
                                  std::string("\0\x01", 2),
                                  900,
                                  -200,
                                  700,
                                  80,
                                  {-1, -2, 1000, 900}});
    entry.result.together = std::vector<GlyphRun>{{{7, 600, "\xD0\x94", 0, -3, 0, true}}};
    entry.result.each = {std::nullopt, GlyphRun{}};
    entry.result.boldWidths.emplace();
    entry.result.boldWidths->fill(-7);
    const std::string bytes = EmbeddingCacheBytes(entry);
    const auto back = ParseEmbeddingCache(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(EmbeddingCacheBytes(*back), bytes);
    EXPECT_EQ(back->result.fonts[0].program, entry.result.fonts[0].program);
    EXPECT_EQ(back->result.together->at(0)[0].yOffset, -3);
    EXPECT_FALSE(back->result.each[0]);

    for (std::size_t k = 0; k < bytes.size(); k += 3) {
        std::string changed = bytes;
        changed[k] = static_cast<char>(changed[k] ^ 0x10);
        EXPECT_FALSE(ParseEmbeddingCache(changed)) << k;
    }
    EXPECT_FALSE(ParseEmbeddingCache(bytes.substr(0, bytes.size() - 1)));
    entry.result.each[1] = GlyphRun{{1, 500, "x", 0, 0, 1, false}};  // face 1 of one
    EXPECT_FALSE(ParseEmbeddingCache(EmbeddingCacheBytes(entry)));
}

}  // namespace
}  // namespace tessaly
