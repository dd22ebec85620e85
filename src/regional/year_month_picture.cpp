#include "regional/year_month_picture.h"

namespace tessaly {

namespace {

// `number` with at least `width` digits, in the words' digits.
std::string Number(int number, std::size_t width, const std::vector<std::string>& digits) {
    std::string ascii = std::to_string(number);
    if (ascii.size() < width) {
        ascii.insert(0, width - ascii.size(), '0');
    }
    std::string shown;
    for (const char c : ascii) {
        shown +=
            digits.size() == 10 ? digits[static_cast<std::size_t>(c - '0')] : std::string(1, c);
    }
    return shown;
}

}  // namespace

std::string FillYearMonthPicture(std::string_view picture, const YearMonthWords& words) {
    std::string filled;
    for (std::size_t at = 0; at < picture.size();) {
        const char c = picture[at];
        if (c == '\'') {
            // Quoted text, '' within it a quote.
            for (++at; at < picture.size(); ++at) {
                if (picture[at] == '\'' && at + 1 < picture.size() && picture[at + 1] == '\'') {
                    filled += '\'';
                    ++at;
                } else if (picture[at] == '\'') {
                    ++at;
                    break;
                } else {
                    filled += picture[at];
                }
            }
            continue;
        }
        std::size_t count = 1;
        while (at + count < picture.size() && picture[at + count] == c) {
            ++count;
        }
        if (c == 'M') {
            filled += count >= 4   ? words.monthName
                      : count == 3 ? words.abbreviatedMonth
                                   : Number(words.month, count, words.digits);
        } else if (c == 'y') {
            filled += count <= 2 ? Number(words.year % 100, count, words.digits)
                                 : Number(words.year, 1, words.digits);
        } else if (c == 'd' || c == 'g') {
            // No day or era in a month's title: the separators before it go with it.
            filled.erase(filled.find_last_not_of(" ,") + 1);
        } else {
            filled.append(picture.substr(at, count));
        }
        at += count;
    }
    // A title does not begin or end in blanks.
    const auto first = filled.find_first_not_of(' ');
    return first == std::string::npos
               ? std::string()
               : filled.substr(first, filled.find_last_not_of(' ') - first + 1);
}

}  // namespace tessaly
