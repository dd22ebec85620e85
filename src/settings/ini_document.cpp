#include "settings/ini_document.h"

#include <algorithm>

namespace tessaly {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A line without the CR of a CR LF ending, which the line keeps for when it is written.
std::string_view Content(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

std::string_view EndOf(std::string_view line) {
    return line.substr(Content(line).size());
}

bool IsBlankLine(std::string_view line) {
    return Trimmed(Content(line)).empty();
}

std::optional<std::string_view> SectionOf(std::string_view line) {
    const std::string_view text = Trimmed(Content(line));
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') {
        return std::nullopt;
    }
    return Trimmed(text.substr(1, text.size() - 2));
}

struct ValueLine {
    std::string_view name;
    std::string_view value;
};

std::optional<ValueLine> ValueOf(std::string_view line) {
    if (SectionOf(line)) {
        return std::nullopt;
    }
    line = Content(line);
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || line.starts_with(';') || line.starts_with('#')) {
        return std::nullopt;
    }
    const std::string_view name = Trimmed(line.substr(0, equals));
    if (name.empty()) {
        return std::nullopt;
    }
    return ValueLine{name, line.substr(equals + 1)};
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument document;
    if (text.starts_with(kByteOrderMark)) {
        document.byteOrderMark_ = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        document.lines_.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return document;
}

std::string IniDocument::Serialise() const {
    std::string text(byteOrderMark_ ? kByteOrderMark : "");
    for (const auto& line : lines_) {
        text += line;
        text += '\n';
    }
    return text;
}

std::vector<IniDocument::Range> IniDocument::SectionsNamed(std::string_view section) const {
    std::vector<Range> sections;
    for (size_t k = 0; k < lines_.size(); ++k) {
        if (const auto name = SectionOf(lines_[k])) {
            if (!sections.empty() && sections.back().end == lines_.size()) {
                sections.back().end = k;
            }
            if (SameName(*name, section)) {
                sections.push_back({k + 1, lines_.size()});
            }
        }
    }
    return sections;
}

std::optional<size_t> IniDocument::FindValueLine(std::string_view section,
                                                 std::string_view name) const {
    std::optional<size_t> found;
    for (const auto& range : SectionsNamed(section)) {
        for (size_t k = range.begin; k < range.end; ++k) {
            if (const auto value = ValueOf(lines_[k]); value && SameName(value->name, name)) {
                found = k;
            }
        }
    }
    return found;
}

bool IniDocument::HasSection(std::string_view section) const {
    return !SectionsNamed(section).empty();
}

void IniDocument::AddSection(std::string_view section) {
    // New lines end as the file's last line does (LF, or CR LF).
    const std::string end(lines_.empty() ? "" : EndOf(lines_.back()));
    if (!lines_.empty() && !IsBlankLine(lines_.back())) {
        lines_.push_back(end);
    }
    std::string header(1, '[');
    header.append(section).append("]").append(end);
    lines_.push_back(std::move(header));
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view name) const {
    const auto found = FindValueLine(section, name);
    if (!found) {
        return std::nullopt;
    }
    return std::string(ValueOf(lines_[*found])->value);
}

void IniDocument::Set(std::string_view section, std::string_view name, std::string_view value) {
    const std::string line = std::string(name) + "=" + std::string(value);
    if (const auto existing = FindValueLine(section, name)) {
        lines_[*existing] = line + std::string(EndOf(lines_[*existing]));
        return;
    }
    if (!HasSection(section)) {
        AddSection(section);
    }
    const Range first = SectionsNamed(section).front();
    size_t at = first.end;
    while (at > first.begin && IsBlankLine(lines_[at - 1])) {
        --at;
    }
    // After the section's header or its last value, ending as that line does.
    const std::string end(EndOf(lines_[at - 1]));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), line + end);
}

bool IniDocument::HoldsSection(std::string_view section) {
    return !Trimmed(section).empty() && Trimmed(section).size() == section.size() &&
           section.find_first_of("]\r\n") == std::string_view::npos;
}

bool IniDocument::HoldsName(std::string_view name) {
    // A name starting with '[' could make its line read as a section header.
    return !name.empty() && name.find_first_of("=\r\n") == std::string_view::npos &&
           Trimmed(name).size() == name.size() && name.front() != '[' && name.front() != ';' &&
           name.front() != '#';
}

bool IniDocument::HoldsValue(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace tessaly
