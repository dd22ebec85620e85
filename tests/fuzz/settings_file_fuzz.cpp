// The settings file's document on any text. Input: three length bytes, then a section,
// a value name and a value of those lengths (each up to 31 bytes), then the file's text.
//  - Parsing and writing back gives the text byte for byte (a last line gains its LF).
//  - A value set, when the rules take it, reads back after a write and a new parse; the
//    file's other lines stay, in order, and so do the values a plain scan of the text
//    finds in it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/ini_document.h"

namespace {

using tessaly::IniDocument;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Section names between brackets and value names before an '=', found without the
// document's own rules; at most a few of each.
std::vector<std::pair<std::string, std::string>> Probes(std::string_view text) {
    std::vector<std::string> sections, names;
    for (const auto line : Lines(text)) {
        const auto trimmed = Trim(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && sections.size() < 6) {
            sections.emplace_back(Trim(trimmed.substr(1, trimmed.find(']') - 1)));
        } else if (const auto equals = line.find('=');
                   equals != std::string_view::npos && names.size() < 6) {
            names.emplace_back(Trim(line.substr(0, equals)));
        }
    }
    std::vector<std::pair<std::string, std::string>> probes;
    for (const auto& section : sections) {
        for (const auto& name : names) {
            probes.emplace_back(section, name);
        }
    }
    return probes;
}

bool SameNameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t k = 0; k < a.size(); ++k) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[k]) != lower(b[k])) {
            return false;
        }
    }
    return true;
}

// Every line of `before` stands in `after` in the same order; with as many lines, all
// but at most one are unchanged.
bool KeepsLines(std::string_view before, std::string_view after) {
    // A byte-order mark stays in front of whatever comes first.
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (before.starts_with(kMark)) {
        if (!after.starts_with(kMark)) {
            return false;
        }
        before.remove_prefix(kMark.size());
        after.remove_prefix(kMark.size());
    }
    const auto old = Lines(before), now = Lines(after);
    if (old.size() == now.size()) {
        size_t changed = 0;
        for (size_t k = 0; k < old.size(); ++k) {
            changed += old[k] != now[k];
        }
        return changed <= 1;
    }
    size_t j = 0;
    for (const auto line : old) {
        while (j < now.size() && now[j] != line) {
            ++j;
        }
        if (j++ == now.size()) {
            return false;
        }
    }
    return old.size() < now.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 3) {
        return 0;
    }
    std::string parts[3];
    size_t offset = 3;
    for (int k = 0; k < 3; ++k) {
        const size_t length = std::min<size_t>(size - offset, data[k] % 32);
        parts[k].assign(reinterpret_cast<const char*>(data) + offset, length);
        offset += length;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + offset, size - offset);
    const auto& [section, name, value] = parts;

    IniDocument document = IniDocument::Parse(text);
    const std::string written = document.Serialise();
    std::string expected(text);
    const bool onlyMark = text == "\xEF\xBB\xBF";
    if (!expected.empty() && expected.back() != '\n' && !onlyMark) {
        expected += '\n';
    }
    Require(written == expected);

    if (!IniDocument::HoldsSection(section) || !IniDocument::HoldsName(name) ||
        !IniDocument::HoldsValue(value)) {
        return 0;
    }
    document.Set(section, name, value);
    const std::string changed = document.Serialise();
    const IniDocument reread = IniDocument::Parse(changed);
    Require(reread.Get(section, name) == value);
    Require(KeepsLines(written, changed));
    const IniDocument before = IniDocument::Parse(text);
    for (const auto& [probeSection, probeName] : Probes(text)) {
        if (!(SameNameAscii(probeSection, section) && SameNameAscii(probeName, name))) {
            Require(reread.Get(probeSection, probeName) == before.Get(probeSection, probeName));
        }
    }
    return 0;
}
