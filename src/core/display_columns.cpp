#include "core/display_columns.h"

#include <algorithm>

#include "core/winansi.h"

namespace tessaly {

DisplayColumns::DisplayColumns(std::u32string_view characters, const std::vector<int>& columns) {
    for (std::size_t k = 0; k < characters.size() && k < columns.size(); ++k) {
        measured_.emplace_back(characters[k], columns[k] < 0 ? 1 : columns[k]);
    }
    std::sort(measured_.begin(), measured_.end());
}

int DisplayColumns::Of(char32_t c) const {
    if (c < 0x80) {
        return c >= 0x20 && c < 0x7F ? 1 : 0;
    }
    const auto found = std::lower_bound(measured_.begin(), measured_.end(), std::pair{c, -1});
    return found != measured_.end() && found->first == c ? found->second : 1;
}

int DisplayColumns::Of(std::string_view utf8) const {
    int columns = 0;
    for (const char32_t c : Utf8ToCodePointsReplacing(utf8)) {
        columns += Of(c);
    }
    return columns;
}

std::string DisplayColumns::Cut(std::string_view utf8, int columns) const {
    std::string kept;
    int used = 0;
    for (const char32_t c : Utf8ToCodePointsReplacing(utf8)) {
        const int width = Of(c);
        // A mark (no width of its own) stays with the character before it.
        if (width > 0 && used + width > columns) {
            break;
        }
        if (width == 0 && kept.empty()) {
            continue;
        }
        used += width;
        kept += CodePointToUtf8(c);
    }
    return kept;
}

std::u32string CharactersToMeasure(const std::vector<std::string>& texts) {
    std::u32string characters;
    for (const std::string& text : texts) {
        for (const char32_t c : Utf8ToCodePointsReplacing(text)) {
            if (c >= 0x80) {
                characters += c;
            }
        }
    }
    std::sort(characters.begin(), characters.end());
    characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    return characters;
}

}  // namespace tessaly
