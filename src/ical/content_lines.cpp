#include "ical/content_lines.h"

#include "core/winansi.h"

namespace tessaly::ical {

std::string Printable(std::string_view text, std::size_t most) {
    std::string shown;
    std::size_t count = 0;
    for (const char32_t c : Utf8ToCodePointsReplacing(text)) {
        if (++count > most) {
            shown += "\u2026";
            break;
        }
        shown += c < 0x20 || (c >= 0x7F && c <= 0x9F) ? std::string("?") : CodePointToUtf8(c);
    }
    return shown;
}

ContentLines::ContentLines(std::string_view text) : text_(text) {
    if (text_.starts_with("\xEF\xBB\xBF")) {
        text_.remove_prefix(3);
    }
}

bool ContentLines::Next(ContentLine& line) {
    if (at_ >= text_.size()) {
        return false;
    }
    line.number = ++physical_;
    line.text = Physical();
    if (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) {
        unfolded_.assign(line.text);
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) {
            ++physical_;
            unfolded_.append(Physical().substr(1));
        }
        line.text = unfolded_;
    }
    return true;
}

std::string_view ContentLines::Physical() {
    const std::size_t end = std::min(text_.find('\n', at_), text_.size());
    std::string_view physical = text_.substr(at_, end - at_);
    at_ = end + 1;
    if (physical.ends_with('\r')) {
        physical.remove_suffix(1);
    }
    return physical;
}

std::string ComponentOf(std::string_view line) {
    std::string name(line.substr(std::min(line.find(':') + 1, line.size())));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return name;
}

std::string_view ValueOf(std::string_view line) {
    bool quoted = false;
    for (std::size_t k = 0; k < line.size(); ++k) {
        if (line[k] == '"') {
            quoted = !quoted;
        } else if (line[k] == ':' && !quoted) {
            return line.substr(k + 1);
        }
    }
    return {};
}

}  // namespace tessaly::ical
