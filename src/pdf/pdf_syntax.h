#pragma once

// How TPrintPDF writes PDF syntax: the pieces of a line, each written one way only.

#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace tessaly::pdf_syntax {

// A PDF string literal: the text escaped, between parentheses.
struct Literal {
    std::string_view text;
};

// A number of thousandths written as the decimal it is ("1.75", "-0.5", "2"): exact,
// and like every number free of the process locale.
struct Thousandths {
    std::int64_t value = 0;
};

inline void Put(std::string& out, std::string_view text) {
    out.append(text);
}

template <typename T>
concept Number = std::integral<T> && !std::same_as<T, char> && !std::same_as<T, bool>;

// to_chars, not streams or printf: the process locale must not reach the file.
void PutDecimal(std::string& out, std::int64_t value);
void PutDecimal(std::string& out, std::uint64_t value);

inline void Put(std::string& out, Number auto value) {
    if constexpr (std::is_signed_v<decltype(value)>) {
        PutDecimal(out, static_cast<std::int64_t>(value));
    } else {
        PutDecimal(out, static_cast<std::uint64_t>(value));
    }
}

// The most characters a literal of `size` bytes of text takes: a control byte takes four.
constexpr std::size_t MostLiteralChars(std::size_t size) {
    return 4 * size + 2;
}

// The literal of `text` at `at`, with room for MostLiteralChars; returns where it ends.
// Backslash and both parentheses would end or change the string; control bytes could
// be taken for line ends. Bytes from 0x80 up stay: they are WinAnsi characters.
inline char* PutLiteral(char* at, std::string_view text) {
    *at++ = '(';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '(' || c == ')') {
            *at++ = '\\';
            *at++ = c;
        } else if (byte < 0x20 || byte == 0x7F) {
            *at++ = '\\';
            *at++ = static_cast<char>('0' + (byte >> 6));
            *at++ = static_cast<char>('0' + ((byte >> 3) & 7));
            *at++ = static_cast<char>('0' + (byte & 7));
        } else {
            *at++ = c;
        }
    }
    *at++ = ')';
    return at;
}

inline void Put(std::string& out, Literal literal) {
    const std::size_t before = out.size();
    out.resize(before + MostLiteralChars(literal.text.size()));
    out.resize(
        static_cast<std::size_t>(PutLiteral(out.data() + before, literal.text) - out.data()));
}

inline void Put(std::string& out, Thousandths number) {
    std::uint64_t magnitude = number.value < 0 ? 0 - static_cast<std::uint64_t>(number.value)
                                               : static_cast<std::uint64_t>(number.value);
    if (number.value < 0) {
        out += '-';
    }
    Put(out, magnitude / 1000);
    magnitude %= 1000;
    if (magnitude != 0) {
        out += '.';
        for (std::uint64_t digit = 100; magnitude != 0; digit /= 10) {
            out += static_cast<char>('0' + magnitude / digit);
            magnitude %= digit;
        }
    }
}

inline void PutHex(std::string& out, std::uint32_t value, int digits) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += kHexDigits[(value >> shift) & 0xF];
    }
}

// The most characters a piece of a line can be, where it is a number or a word (a
// character array); 0 for every other piece.
template <typename T>
inline constexpr std::size_t kMostChars = 0;
template <Number T>
inline constexpr std::size_t kMostChars<T> = 20;  // "-9223372036854775808"
template <std::size_t N>
inline constexpr std::size_t kMostChars<char[N]> = N;

// Any number, out of line: the general path is long, and seldom taken.
char* PutAnyDecimal(char* at, std::int64_t value);
char* PutAnyDecimal(char* at, std::uint64_t value);

inline char* PutInto(char* at, Number auto value) {
    // Most numbers of a page are coordinates and sizes under 1000: their digits written
    // straight away, without the general path's measuring.
    bool underAThousand = value < 1000;
    if constexpr (std::is_signed_v<decltype(value)>) {
        underAThousand = underAThousand && value >= 0;
    }
    if (underAThousand) {
        const auto small = static_cast<unsigned>(value);
        if (small >= 100) {
            *at++ = static_cast<char>('0' + small / 100);
        }
        if (small >= 10) {
            *at++ = static_cast<char>('0' + small / 10 % 10);
        }
        *at++ = static_cast<char>('0' + small % 10);
        return at;
    }
    if constexpr (std::is_signed_v<decltype(value)>) {
        return PutAnyDecimal(at, static_cast<std::int64_t>(value));
    } else {
        return PutAnyDecimal(at, static_cast<std::uint64_t>(value));
    }
}

// A word is a string literal: its characters, without the terminating null, copied as
// one block of a size known when compiling.
template <std::size_t N>
inline char* PutInto(char* at, const char (&word)[N]) {
    std::memcpy(at, word, N - 1);
    return at + N - 1;
}

// A line of numbers and words put at `at` (room for kMostChars of each and the line end),
// `at` moved past it.
template <typename... Pieces>
requires((kMostChars<Pieces> > 0) && ...) void PutLine(char*& at, const Pieces&... pieces) {
    ((at = PutInto(at, pieces)), ...);
    *at++ = '\r';
    *at++ = '\n';
}

template <typename... Pieces>
void WriteLine(std::string& out, const Pieces&... pieces) {
    if constexpr (((kMostChars < Pieces >> 0) && ...)) {
        // Numbers and words only, the commonest lines of a page: made on the stack and
        // appended once.
        char line[(kMostChars<Pieces> + ... + 2)];
        char* at = line;
        PutLine(at, pieces...);
        out.append(line, static_cast<std::size_t>(at - line));
    } else {
        (Put(out, pieces), ...);
        out.append("\r\n");
    }
}

}  // namespace tessaly::pdf_syntax
