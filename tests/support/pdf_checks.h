#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::test {

// Runs the three outside checks on a PDF file:
//  - qpdf --check exits 0 (3, warnings only, counts as a failure),
//  - pdftotext prints nothing on stderr,
//  - Ghostscript renders it with -dPDFSTOPONERROR, exits 0 and repairs nothing.
// Returns "" when all pass, else one paragraph per failed check with the tool's output.
// A tool that is not installed marks the running test skipped, or, when the environment
// variable CI is set, is reported as a failure.
std::string OutsideCheckFailures(const std::filesystem::path& pdf);

// The page text as pdftotext extracts it (UTF-8); nothing when pdftotext is missing,
// handled like a missing tool above.
std::optional<std::string> ExtractedText(const std::filesystem::path& pdf);

// A word as pdftotext -bbox finds it on a page, in points from the page's top-left
// corner: where its first character starts and the top and bottom of its line box.
struct WordBox {
    int page = 1;
    std::string text;
    double xMin = 0;
    double yMin = 0;
    double yMax = 0;
};
// Every word of every page in reading order; nothing when pdftotext is missing, handled
// like a missing tool above.
std::optional<std::vector<WordBox>> WordBoxes(const std::filesystem::path& pdf);

// pdftotext's text without the direction marks (U+202A..U+202E) it puts around
// right-to-left lines and the left-to-right runs in them.
std::string WithoutDirectionMarks(std::string_view text);

// Checks the cross-reference table against the bytes: "startxref" points at "xref", every
// entry is 20 bytes, entry n points at the line "n 0 obj", /Size counts the entries and
// the file ends in "%%EOF" CR LF. Returns "" when all hold, else what did not.
std::string CrossReferenceFailures(std::string_view pdf);

// Where each object starts according to the cross-reference table: element n is object
// n's offset (element 0, the free entry, is 0). Empty when the table cannot be read.
std::vector<std::size_t> ObjectOffsets(std::string_view pdf);

// Object n whole, from its "n 0 obj" line to where the next object (or the table)
// begins; empty when there is no such object.
std::string_view ObjectText(std::string_view pdf, int number);

}  // namespace tessaly::test
