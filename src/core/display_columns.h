#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

// How many columns of a terminal each character takes, as the system measured the
// characters a text calendar shows (0 for a combining mark, 2 for a wide one). Measured
// before anything is drawn, so that drawing asks the system nothing. A printable ASCII
// character takes one column, and so does any character that was not measured.
class DisplayColumns {
  public:
    DisplayColumns() = default;
    // `columns[k]` is the measure of `characters[k]`; a negative one (a character the
    // system cannot print) counts as one column.
    DisplayColumns(std::u32string_view characters, const std::vector<int>& columns);

    int Of(char32_t c) const;
    // The columns of UTF-8 text; a broken sequence counts as U+FFFD.
    int Of(std::string_view utf8) const;
    // The longest start of `utf8` that takes at most `columns` columns, cut between
    // characters and never between a character and the marks that follow it.
    std::string Cut(std::string_view utf8, int columns) const;

  private:
    std::vector<std::pair<char32_t, int>> measured_;  // by character
};

// The characters beyond ASCII in `texts`, each once, by code: what the system is asked
// to measure.
std::u32string CharactersToMeasure(const std::vector<std::string>& texts);

}  // namespace tessaly
