#include "fonts/face_cache.h"

#include <algorithm>
#include <charconv>

#include "core/default_ignorable.h"

namespace tessaly {

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

namespace {

constexpr std::string_view kHeader = "tessaly face cache 1\n";

void PutHex(std::string& out, std::uint64_t value) {
    char digits[17];
    const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
    out.append(digits, end);
}

void PutNumber(std::string& out, std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void PutStamp(std::string& out, const FileStamp& stamp) {
    out += stamp.exists ? '1' : '0';
    out += ' ';
    PutNumber(out, stamp.size);
    out += ' ';
    PutNumber(out, stamp.modifiedNs);
}

// A word: printable ASCII without blanks.
bool IsWord(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

// Reads the line's fields one by one; the last may take the rest of the line.
class Fields {
  public:
    explicit Fields(std::string_view line) : rest_(line) {}

    std::optional<std::string_view> Word() {
        const auto space = rest_.find(' ');
        const std::string_view word = rest_.substr(0, space);
        rest_ = space == std::string_view::npos ? std::string_view() : rest_.substr(space + 1);
        if (word.empty()) {
            return std::nullopt;
        }
        return word;
    }
    template <typename T>
    std::optional<T> Number(int base = 10) {
        const auto word = Word();
        T value{};
        if (!word) {
            return std::nullopt;
        }
        const auto [end, error] =
            std::from_chars(word->data(), word->data() + word->size(), value, base);
        if (error != std::errc() || end != word->data() + word->size()) {
            return std::nullopt;
        }
        return value;
    }
    std::optional<FileStamp> Stamp() {
        const auto exists = Number<int>();
        const auto size = Number<std::int64_t>();
        const auto modified = Number<std::int64_t>();
        if (!exists || (*exists != 0 && *exists != 1) || !size || !modified) {
            return std::nullopt;
        }
        return FileStamp{{}, *exists == 1, *size, *modified};
    }
    std::string_view Rest() const { return rest_; }

  private:
    std::string_view rest_;
};

std::optional<std::u32string> CharactersOf(std::string_view hex) {
    std::u32string characters;
    while (!hex.empty()) {
        const auto comma = hex.find(',');
        const std::string_view one = hex.substr(0, comma);
        std::uint32_t c = 0;
        const auto [end, error] = std::from_chars(one.data(), one.data() + one.size(), c, 16);
        if (one.empty() || error != std::errc() || end != one.data() + one.size() || c > 0x10FFFF ||
            (!characters.empty() && c <= characters.back())) {
            return std::nullopt;
        }
        characters += static_cast<char32_t>(c);
        hex = comma == std::string_view::npos ? std::string_view() : hex.substr(comma + 1);
    }
    return characters;
}

}  // namespace

FaceQuery QueryOf(const std::u32string& characters, const std::string& language,
                  FaceWeight weight) {
    FaceQuery query{weight, language, {}};
    for (const char32_t c : characters) {
        if (!IsDefaultIgnorable(c)) {
            query.characters += c;
        }
    }
    std::sort(query.characters.begin(), query.characters.end());
    query.characters.erase(std::unique(query.characters.begin(), query.characters.end()),
                           query.characters.end());
    return query;
}

bool CacheablePath(std::string_view path) {
    return !path.empty() && path.front() == '/' && path.find('\n') == std::string_view::npos &&
           path.find('\r') == std::string_view::npos && path.find('\0') == std::string_view::npos &&
           path.find("/../") == std::string_view::npos && !path.ends_with("/..");
}

std::string FaceCacheText(const FaceCache& cache) {
    std::string text(kHeader);
    text += "v ";
    PutHex(text, cache.environment);
    text += '\n';
    for (const FileStamp& stamp : cache.configuration) {
        text += "c ";
        PutStamp(text, stamp);
        text += ' ';
        text += stamp.path;
        text += '\n';
    }
    for (const FaceCacheEntry& entry : cache.entries) {
        text += "e ";
        text += entry.query.weight == FaceWeight::Bold ? 'b' : 'r';
        text += ' ';
        text += entry.query.language.empty() ? "-" : entry.query.language;
        text += ' ';
        for (std::size_t k = 0; k < entry.query.characters.size(); ++k) {
            if (k > 0) {
                text += ',';
            }
            PutHex(text, static_cast<std::uint32_t>(entry.query.characters[k]));
        }
        text += '\n';
        for (const CachedFace& face : entry.faces) {
            text += "f ";
            PutNumber(text, face.index);
            text += ' ';
            PutStamp(text, face.stamp);
            text += ' ';
            text += face.postScriptName.empty() ? "-" : face.postScriptName;
            text += ' ';
            text += face.file;
            text += '\n';
        }
    }
    return SealFaceCache(text);
}

std::string SealFaceCache(std::string_view body) {
    std::string text(body);
    text += "sum ";
    PutHex(text, Fnv1a(body));
    text += '\n';
    return text;
}

std::optional<FaceCache> ParseFaceCache(std::string_view text) {
    if (text.size() > kMostCacheBytes || !text.starts_with(kHeader) || !text.ends_with('\n')) {
        return std::nullopt;
    }
    const auto sumAt = text.rfind("sum ");
    if (sumAt == std::string_view::npos || (sumAt > 0 && text[sumAt - 1] != '\n')) {
        return std::nullopt;
    }
    {
        Fields sum(text.substr(sumAt + 4, text.size() - sumAt - 5));
        const auto written = sum.Number<std::uint64_t>(16);
        if (!written || !sum.Rest().empty() || *written != Fnv1a(text.substr(0, sumAt))) {
            return std::nullopt;
        }
    }
    FaceCache cache;
    bool environmentRead = false;
    std::string_view body = text.substr(kHeader.size(), sumAt - kHeader.size());
    while (!body.empty()) {
        const auto end = body.find('\n');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        Fields fields(body.substr(0, end));
        body.remove_prefix(end + 1);
        const auto kind = fields.Word();
        if (!kind) {
            return std::nullopt;
        }
        if (*kind == "v" && !environmentRead && cache.configuration.empty() &&
            cache.entries.empty()) {
            const auto environment = fields.Number<std::uint64_t>(16);
            if (!environment || !fields.Rest().empty()) {
                return std::nullopt;
            }
            cache.environment = *environment;
            environmentRead = true;
        } else if (*kind == "c" && environmentRead && cache.entries.empty()) {
            auto stamp = fields.Stamp();
            if (!stamp || !CacheablePath(fields.Rest())) {
                return std::nullopt;
            }
            stamp->path = fields.Rest();
            cache.configuration.push_back(std::move(*stamp));
        } else if (*kind == "e" && environmentRead && cache.entries.size() < kMostCachedEntries) {
            const auto weight = fields.Word();
            const auto language = fields.Word();
            if (!weight || (*weight != "b" && *weight != "r") || !language || !IsWord(*language)) {
                return std::nullopt;
            }
            auto characters = CharactersOf(fields.Rest());
            if (!characters || characters->empty()) {
                return std::nullopt;
            }
            FaceCacheEntry entry;
            entry.query.weight = *weight == "b" ? FaceWeight::Bold : FaceWeight::Regular;
            entry.query.language = *language == "-" ? std::string() : std::string(*language);
            entry.query.characters = std::move(*characters);
            cache.entries.push_back(std::move(entry));
        } else if (*kind == "f" && !cache.entries.empty()) {
            const auto index = fields.Number<int>();
            auto stamp = fields.Stamp();
            const auto name = fields.Word();
            if (!index || *index < 0 || *index > 0xFFFF || !stamp || !stamp->exists || !name ||
                !IsWord(*name) || !CacheablePath(fields.Rest())) {
                return std::nullopt;
            }
            stamp->path = fields.Rest();
            CachedFace face{std::string(fields.Rest()), *index,
                            *name == "-" ? std::string() : std::string(*name), std::move(*stamp)};
            cache.entries.back().faces.push_back(std::move(face));
        } else {
            return std::nullopt;
        }
    }
    if (!environmentRead) {
        return std::nullopt;
    }
    return cache;
}

}  // namespace tessaly
