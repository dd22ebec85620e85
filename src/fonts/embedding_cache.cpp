#include "fonts/embedding_cache.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace tessaly {

namespace {

constexpr std::string_view kMagic = "tessaly embedded 1\n";

class Writer {
  public:
    void Number(std::uint64_t value, int bytes) {
        for (int k = 0; k < bytes; ++k) {
            out_ += static_cast<char>((value >> (8 * k)) & 0xFF);
        }
    }
    void Signed(std::int64_t value) { Number(static_cast<std::uint64_t>(value), 8); }
    void Text(std::string_view text) {
        Number(text.size(), 4);
        out_ += text;
    }
    void Run(const GlyphRun& run) {
        Number(run.size(), 4);
        for (const EmbeddedGlyph& glyph : run) {
            Number(glyph.code, 2);
            Signed(glyph.width);
            Text(glyph.text);
            Signed(glyph.xOffset);
            Signed(glyph.yOffset);
            Number(glyph.face, 2);
            Number(glyph.rightToLeft ? 1 : 0, 1);
        }
    }
    std::string& Bytes() { return out_; }

  private:
    std::string out_;
};

// Reads what Writer wrote; any read past the end, or a count the rest cannot hold, fails
// the whole reading.
class Reader {
  public:
    explicit Reader(std::string_view in) : in_(in) {}

    bool Failed() const { return failed_; }
    bool AtEnd() const { return in_.empty(); }

    std::uint64_t Number(int bytes) {
        if (failed_ || in_.size() < static_cast<std::size_t>(bytes)) {
            failed_ = true;
            return 0;
        }
        std::uint64_t value = 0;
        for (int k = 0; k < bytes; ++k) {
            value |= std::uint64_t{static_cast<unsigned char>(in_[static_cast<std::size_t>(k)])}
                     << (8 * k);
        }
        in_.remove_prefix(static_cast<std::size_t>(bytes));
        return value;
    }
    std::int64_t Signed() { return static_cast<std::int64_t>(Number(8)); }
    std::int32_t Signed32() {
        const std::int64_t value = Signed();
        if (value < std::numeric_limits<std::int32_t>::min() ||
            value > std::numeric_limits<std::int32_t>::max()) {
            failed_ = true;
        }
        return static_cast<std::int32_t>(value);
    }
    // A count of things of at least `each` bytes each.
    std::size_t Count(std::size_t each) {
        const std::uint64_t count = Number(4);
        if (count > in_.size() / each) {
            failed_ = true;
            return 0;
        }
        return static_cast<std::size_t>(count);
    }
    std::string Text() {
        const std::size_t size = Count(1);
        if (failed_) {
            return {};
        }
        std::string text(in_.substr(0, size));
        in_.remove_prefix(size);
        return text;
    }
    GlyphRun Run(std::size_t faces) {
        GlyphRun run(Count(2 + 8 + 4 + 8 + 8 + 2 + 1));
        for (EmbeddedGlyph& glyph : run) {
            glyph.code = static_cast<std::uint16_t>(Number(2));
            glyph.width = Signed32();
            glyph.text = Text();
            glyph.xOffset = Signed32();
            glyph.yOffset = Signed32();
            glyph.face = static_cast<std::uint16_t>(Number(2));
            const std::uint64_t rightToLeft = Number(1);
            if (glyph.face >= faces || rightToLeft > 1) {
                failed_ = true;
            }
            glyph.rightToLeft = rightToLeft == 1;
        }
        return run;
    }

  private:
    std::string_view in_;
    bool failed_ = false;
};

}  // namespace

std::string EmbeddingKey(const EmbeddingRequest& request, const std::string& localeName) {
    Writer key;
    key.Number(request.together.size(), 4);
    for (const std::string& text : request.together) {
        key.Text(text);
    }
    key.Number(request.each.size(), 4);
    for (const std::string& text : request.each) {
        key.Text(text);
    }
    key.Text(localeName);
    for (const char* name :
         {"LC_ALL", "LC_TIME", "LC_CTYPE", "LANG", "FC_LANG", "HOME", "XDG_CONFIG_HOME",
          "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
        const char* value = std::getenv(name);
        key.Text(value != nullptr ? std::string("=") + value : std::string("-"));
    }
    return std::move(key.Bytes());
}

std::string EmbeddingFileName(std::string_view key) {
    return "embedded-" + std::string(1, "0123456789abcdef"[Fnv1a(key) % 16]);
}

std::string EmbeddingCacheBytes(const EmbeddingCacheEntry& remembered) {
    Writer out;
    out.Bytes() = kMagic;
    out.Text(remembered.key);
    out.Number(remembered.restingOn.size(), 4);
    for (const FileStamp& stamp : remembered.restingOn) {
        out.Text(stamp.path);
        out.Number(stamp.exists ? 1 : 0, 1);
        out.Signed(stamp.size);
        out.Signed(stamp.modifiedNs);
    }
    const EmbeddingResult& result = remembered.result;
    out.Number(result.fonts.size(), 4);
    for (const EmbeddedFont& font : result.fonts) {
        out.Number(font.outlines == EmbeddedFont::Outlines::Cff ? 1 : 0, 1);
        out.Text(font.postScriptName);
        out.Text(font.program);
        for (const std::int32_t value :
             {font.ascent, font.descent, font.capHeight, font.stemV, font.boundingBox[0],
              font.boundingBox[1], font.boundingBox[2], font.boundingBox[3]}) {
            out.Signed(value);
        }
    }
    out.Number(result.together ? 1 : 0, 1);
    if (result.together) {
        out.Number(result.together->size(), 4);
        for (const GlyphRun& run : *result.together) {
            out.Run(run);
        }
    }
    out.Number(result.each.size(), 4);
    for (const auto& run : result.each) {
        out.Number(run ? 1 : 0, 1);
        if (run) {
            out.Run(*run);
        }
    }
    out.Number(result.boldWidths ? 1 : 0, 1);
    if (result.boldWidths) {
        for (const std::int32_t width : *result.boldWidths) {
            out.Signed(width);
        }
    }
    out.Number(Fnv1a(out.Bytes()), 8);
    return std::move(out.Bytes());
}

std::optional<EmbeddingCacheEntry> ParseEmbeddingCache(std::string_view bytes) {
    if (bytes.size() > kMostEmbeddingBytes || bytes.size() < kMagic.size() + 8 ||
        !bytes.starts_with(kMagic)) {
        return std::nullopt;
    }
    const std::string_view body = bytes.substr(0, bytes.size() - 8);
    Reader sum(bytes.substr(bytes.size() - 8));
    if (sum.Number(8) != Fnv1a(body)) {
        return std::nullopt;
    }
    Reader in(body.substr(kMagic.size()));
    EmbeddingCacheEntry remembered;
    remembered.key = in.Text();
    remembered.restingOn.resize(in.Count(4 + 1 + 8 + 8));
    for (FileStamp& stamp : remembered.restingOn) {
        stamp.path = in.Text();
        const std::uint64_t exists = in.Number(1);
        stamp.exists = exists == 1;
        stamp.size = in.Signed();
        stamp.modifiedNs = in.Signed();
        if (exists > 1 || !CacheablePath(stamp.path)) {
            return std::nullopt;
        }
    }
    EmbeddingResult& result = remembered.result;
    result.fonts.resize(in.Count(1 + 4 + 4 + 8 * 8));
    for (EmbeddedFont& font : result.fonts) {
        const std::uint64_t outlines = in.Number(1);
        if (outlines > 1) {
            return std::nullopt;
        }
        font.outlines =
            outlines == 1 ? EmbeddedFont::Outlines::Cff : EmbeddedFont::Outlines::TrueType;
        font.postScriptName = in.Text();
        font.program = in.Text();
        for (std::int32_t* value :
             {&font.ascent, &font.descent, &font.capHeight, &font.stemV, &font.boundingBox[0],
              &font.boundingBox[1], &font.boundingBox[2], &font.boundingBox[3]}) {
            *value = in.Signed32();
        }
    }
    const std::uint64_t together = in.Number(1);
    if (together > 1) {
        return std::nullopt;
    }
    if (together == 1) {
        result.together.emplace(in.Count(4));
        for (GlyphRun& run : *result.together) {
            run = in.Run(result.fonts.size());
        }
    }
    result.each.resize(in.Count(1));
    for (auto& run : result.each) {
        const std::uint64_t drawn = in.Number(1);
        if (drawn > 1) {
            return std::nullopt;
        }
        if (drawn == 1) {
            run = in.Run(result.fonts.size());
        }
    }
    const std::uint64_t widths = in.Number(1);
    if (widths > 1) {
        return std::nullopt;
    }
    if (widths == 1) {
        result.boldWidths.emplace();
        for (std::int32_t& width : *result.boldWidths) {
            width = in.Signed32();
        }
    }
    if (in.Failed() || !in.AtEnd()) {
        return std::nullopt;
    }
    return remembered;
}

}  // namespace tessaly
