#pragma once

// The lines of an iCalendar text as they are written, before libical reads any.
#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tessaly::ical {

// File text for a message: at most `most` characters, control characters as "?", so
// that no file can write to the terminal what it likes.
std::string Printable(std::string_view text, std::size_t most = 60);

// Names compare without case (ASCII only, as iCalendar's names are).
inline bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
           });
}

inline bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](std::string_view candidate) { return SameName(name, candidate); });
}

// One content line, its folded continuations joined, and the line it starts on. The
// text is in the file, or, for a folded line, in storage of its reader's.
struct ContentLine {
    std::string_view text;
    int number = 0;
};

// The unfolded lines of a text (line ends CR LF or LF).
class ContentLines {
  public:
    explicit ContentLines(std::string_view text);

    // The next line; a folded one stays valid until the next call only.
    bool Next(ContentLine& line);

    int LastLine() const { return physical_; }

  private:
    std::string_view Physical();

    std::string_view text_;
    std::size_t at_ = 0;
    int physical_ = 0;
    std::string unfolded_;
};

// The property name of a content line: what stands before its first ';' or ':'.
inline std::string_view NameOf(std::string_view line) {
    return line.substr(0, line.find_first_of(";:"));
}

// The value of a BEGIN or END line, in capitals.
std::string ComponentOf(std::string_view line);

// The value of a content line: what follows the first colon outside quotes.
std::string_view ValueOf(std::string_view line);

}  // namespace tessaly::ical
