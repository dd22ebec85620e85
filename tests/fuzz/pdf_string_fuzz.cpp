// Any text drawn or put into the document's properties reads back unchanged from the
// file, decoded by the rules of PDF literal strings, and the file's structure holds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pdf/print_pdf.h"
#include "support/pdf_checks.h"

namespace {

// The PDF literal string that starts at `at` (on its opening parenthesis), decoded;
// `at` ends past the closing parenthesis. Aborts on a string that never closes.
std::string DecodeLiteral(std::string_view pdf, size_t& at) {
    std::string text;
    int depth = 0;
    for (++at; at < pdf.size(); ++at) {
        const char c = pdf[at];
        if (c == '\\') {
            const char next = pdf.at(++at);
            switch (next) {
                case 'n':
                    text += '\n';
                    break;
                case 'r':
                    text += '\r';
                    break;
                case 't':
                    text += '\t';
                    break;
                case 'b':
                    text += '\b';
                    break;
                case 'f':
                    text += '\f';
                    break;
                case '\r':
                    if (pdf.at(at + 1) == '\n') {
                        ++at;
                    }
                    break;
                case '\n':
                    break;
                default:
                    if (next >= '0' && next <= '7') {
                        int value = next - '0';
                        for (int k = 0; k < 2 && pdf.at(at + 1) >= '0' && pdf.at(at + 1) <= '7';
                             ++k) {
                            value = value * 8 + (pdf[++at] - '0');
                        }
                        text += static_cast<char>(value & 0xFF);
                    } else {
                        text += next;
                    }
            }
        } else if (c == '\r' || c == '\n') {
            // An unescaped line end reads as LF, whatever its bytes.
            if (c == '\r' && pdf.at(at + 1) == '\n') {
                ++at;
            }
            text += '\n';
        } else if (c == ')' && depth == 0) {
            ++at;
            return text;
        } else {
            depth += c == '(' ? 1 : c == ')' ? -1 : 0;
            text += c;
        }
    }
    std::abort();
}

std::string Literal(std::string_view pdf, std::string_view before, std::string_view after) {
    size_t at = pdf.find(before);
    if (at == std::string_view::npos) {
        std::abort();
    }
    at += before.size() - 1;
    std::string text = DecodeLiteral(pdf, at);
    if (pdf.substr(at, after.size()) != after) {
        std::abort();
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t half = size / 2;
    const std::string title(input.substr(0, half));
    const std::string drawn(input.substr(half));

    tessaly::TPrintPDF pdf("Orvanta");
    pdf.CreationDate = {2026, 1, 2, 3, 4, 5};
    pdf.TITLE = title;
    pdf.BeginDocument();
    pdf.DrawText(10, 20, drawn);
    const std::string file = pdf.EndDocument().Joined();

    if (Literal(file, "\r\n/Title (", "\r\n/ModDate ()\r\n") != title ||
        Literal(file, " Td\r\n(", " Tj\r\nET\r\n") != drawn ||
        !tessaly::test::CrossReferenceFailures(file).empty()) {
        std::abort();
    }
    return 0;
}
