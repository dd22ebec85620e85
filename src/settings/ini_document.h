#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// An INI-like text in memory: "[section]" lines, each followed by "name=value" lines.
// Section and value names compare without regard to ASCII case, as registry names do,
// and blanks around them do not count; lines starting with ';' or '#' are comments.
// Lines the document is not asked to change stay as they are, byte for byte, whatever
// they hold: a CR before the LF, a UTF-8 byte-order mark at the start.
class IniDocument {
  public:
    // Lines end at LF; a CR before it is part of the line end.
    static IniDocument Parse(std::string_view text);
    // Every line followed by LF (after its CR, when it has one).
    std::string Serialise() const;

    bool HasSection(std::string_view section) const;
    // Appends an empty section, after a blank line unless the text ends in one.
    void AddSection(std::string_view section);
    // The text after the '=' of the last line that sets `name` in a section `section`;
    // a hand-edited file may set a name twice, or repeat a section.
    std::optional<std::string> Get(std::string_view section, std::string_view name) const;
    // Replaces that line; else adds one at the end of the first such section (before its
    // trailing blank lines), adding the section when there is none.
    void Set(std::string_view section, std::string_view name, std::string_view value);

    // Whether a section name, value name or value reads back as it was set.
    static bool HoldsSection(std::string_view section);
    static bool HoldsName(std::string_view name);
    static bool HoldsValue(std::string_view value);

  private:
    struct Range {
        size_t begin;  // the first line after the header
        size_t end;
    };
    std::vector<Range> SectionsNamed(std::string_view section) const;
    std::optional<size_t> FindValueLine(std::string_view section, std::string_view name) const;

    bool byteOrderMark_ = false;
    std::vector<std::string> lines_;  // each with its CR, when it ends in CR LF
};

}  // namespace tessaly
