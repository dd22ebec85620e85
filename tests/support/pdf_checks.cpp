#include "support/pdf_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <map>

#include "support/host_command.h"

namespace tessaly::test {

namespace {

// Each tool once; under Wine each look is a program started.
bool IsOnPath(const std::string& tool) {
    static std::map<std::string, bool> known;
    if (const auto found = known.find(tool); found != known.end()) {
        return found->second;
    }
    bool present = false;
#ifdef _WIN32
    present = HostCommandsRun() &&
              RunHostCommand("command -v " + tool + " >/dev/null 2>&1").exitCode == 0;
#else
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "";
    while (!folders.empty() && !present) {
        const auto end = std::min(folders.find(':'), folders.size());
        const std::filesystem::path folder(folders.substr(0, end));
        std::error_code ignored;
        present = !folder.empty() && std::filesystem::is_regular_file(folder / tool, ignored);
        folders.remove_prefix(std::min(end + 1, folders.size()));
    }
#endif
    known.emplace(tool, present);
    return present;
}

// A tool that is missing skips the test locally; on CI it must be there. The Windows
// tests reach the build machine's tools under Wine; Windows itself has none of them.
bool ToolPresent(const std::string& tool, std::string& failures) {
    if (IsOnPath(tool)) {
        return true;
    }
    const bool required = std::getenv("CI") != nullptr && HostCommandsRun();
    if (required) {
        failures += tool + " is not installed, and CI needs every outside check\n";
    } else {
        [&] { GTEST_SKIP() << tool << " is not installed: outside check of the PDF skipped"; }();
    }
    return false;
}

using ToolRun = CommandRun;

ToolRun Run(const std::string& command) {
    ToolRun run = RunHostCommand(command);
    if (run.exitCode == -1 && run.output.empty()) {
        run.output = "could not start: " + command;
    }
    return run;
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct CrossReference {
    std::vector<std::size_t> offsets;  // by object number; [0] unused
    std::size_t tableOffset = 0;
    std::string failures;
};

bool ReadNumber(std::string_view text, std::size_t& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// The line starting at `at`, without its CR LF; npos-safe.
std::string_view LineAt(std::string_view pdf, std::size_t at) {
    if (at >= pdf.size()) {
        return {};
    }
    const auto end = pdf.find("\r\n", at);
    return end == std::string_view::npos ? pdf.substr(at) : pdf.substr(at, end - at);
}

CrossReference ReadCrossReference(std::string_view pdf) {
    CrossReference table;
    constexpr std::string_view kEnd = "\r\n%%EOF\r\n";
    if (pdf.size() < kEnd.size() || pdf.substr(pdf.size() - kEnd.size()) != kEnd) {
        table.failures = "the file does not end in %%EOF CR LF\n";
        return table;
    }
    const auto startxref = pdf.rfind("startxref\r\n");
    if (startxref == std::string_view::npos ||
        !ReadNumber(LineAt(pdf, startxref + 11), table.tableOffset)) {
        table.failures = "no readable startxref\n";
        return table;
    }
    if (LineAt(pdf, table.tableOffset) != "xref") {
        table.failures = "startxref does not point at a line \"xref\"\n";
        return table;
    }
    std::size_t at = table.tableOffset + 6;
    const std::string_view subsection = LineAt(pdf, at);
    std::size_t count = 0;
    if (subsection.substr(0, 2) != "0 " || !ReadNumber(subsection.substr(2), count) || count == 0) {
        table.failures = "the table does not start with \"0 <count>\"\n";
        return table;
    }
    at += subsection.size() + 2;
    if (pdf.substr(at, 20) != "0000000000 65535 f\r\n") {
        table.failures = "entry 0 is not the 20-byte free entry\n";
        return table;
    }
    table.offsets.push_back(0);
    for (std::size_t n = 1; n < count; ++n) {
        const std::string_view entry = pdf.substr(at + 20 * n, 20);
        std::size_t offset = 0;
        if (entry.size() != 20 || entry.substr(10) != " 00000 n\r\n" ||
            !ReadNumber(entry.substr(0, 10), offset)) {
            table.failures += "entry " + std::to_string(n) + " is not a 20-byte in-use entry\n";
            table.offsets.clear();
            return table;
        }
        table.offsets.push_back(offset);
    }
    at += 20 * count;
    if (LineAt(pdf, at) != "trailer" ||
        LineAt(pdf, at + 9) != "<< /Size " + std::to_string(count)) {
        table.failures +=
            "the trailer does not follow the table with /Size " + std::to_string(count) + "\n";
    }
    return table;
}

}  // namespace

std::string OutsideCheckFailures(const std::filesystem::path& pdf) {
    std::string failures;
    const std::string file = HostPath(pdf);
    const std::string toNull = " >/dev/null";
    if (ToolPresent("qpdf", failures)) {
        const ToolRun run = Run("qpdf --check " + file + " 2>&1");
        if (run.exitCode != 0) {
            failures += "qpdf --check exited " + std::to_string(run.exitCode) + ":\n" + run.output;
        }
    }
    if (ToolPresent("pdftotext", failures)) {
        // Only stderr reaches the pipe: the text itself goes to the null device.
        const ToolRun run = Run("pdftotext " + file + " - 2>&1" + toNull);
        if (run.exitCode != 0 || !run.output.empty()) {
            failures += "pdftotext exited " + std::to_string(run.exitCode) + ":\n" + run.output;
        }
    }
    if (ToolPresent("gs", failures)) {
        const ToolRun run =
            Run("gs -dNOPAUSE -dBATCH -dPDFSTOPONERROR -sDEVICE=nullpage -o /dev/null " + file +
                " 2>&1");
        if (run.exitCode != 0 || Lowered(run.output).find("repaired") != std::string::npos) {
            failures += "gs exited " + std::to_string(run.exitCode) + ":\n" + run.output;
        }
    }
    return failures;
}

std::optional<std::string> ExtractedText(const std::filesystem::path& pdf) {
    std::string failures;
    if (!ToolPresent("pdftotext", failures)) {
        if (!failures.empty()) {
            ADD_FAILURE() << failures;
        }
        return std::nullopt;
    }
    return Run("pdftotext -enc UTF-8 " + HostPath(pdf) + " - 2>/dev/null").output;
}

std::optional<std::vector<WordBox>> WordBoxes(const std::filesystem::path& pdf) {
    std::string failures;
    if (!ToolPresent("pdftotext", failures)) {
        if (!failures.empty()) {
            ADD_FAILURE() << failures;
        }
        return std::nullopt;
    }
    const std::string html =
        Run("pdftotext -bbox -enc UTF-8 " + HostPath(pdf) + " - 2>/dev/null").output;
    // <page ...> ... <word xMin="24.000000" yMin="80.512000" xMax="..." yMax="...">Monday</word>
    const auto attribute = [](std::string_view tag, std::string_view name) {
        // Whatever the test's locale writes numbers with: the tests run in a
        // comma-decimal one too.
        const auto at = tag.find(std::string(name) + "=\"");
        double value = 0.0;
        if (at != std::string_view::npos) {
            std::from_chars(tag.data() + at + name.size() + 2, tag.data() + tag.size(), value);
        }
        return value;
    };
    std::vector<WordBox> words;
    int page = 0;
    for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
        const std::string_view rest = std::string_view(html).substr(at);
        if (rest.starts_with("<page ")) {
            ++page;
        } else if (rest.starts_with("<word ")) {
            const auto close = rest.find('>');
            const auto end = rest.find("</word>");
            if (close == std::string_view::npos || end == std::string_view::npos) {
                break;
            }
            const std::string_view tag = rest.substr(0, close);
            words.push_back({page, std::string(rest.substr(close + 1, end - close - 1)),
                             attribute(tag, "xMin"), attribute(tag, "yMin"),
                             attribute(tag, "yMax")});
        }
    }
    return words;
}

std::string CrossReferenceFailures(std::string_view pdf) {
    CrossReference table = ReadCrossReference(pdf);
    for (std::size_t n = 1; n < table.offsets.size(); ++n) {
        const std::string opening = std::to_string(n) + " 0 obj";
        if (LineAt(pdf, table.offsets[n]) != opening) {
            table.failures += "entry " + std::to_string(n) + " (offset " +
                              std::to_string(table.offsets[n]) + ") does not point at \"" +
                              opening + "\"\n";
        }
    }
    return table.failures;
}

std::vector<std::size_t> ObjectOffsets(std::string_view pdf) {
    return ReadCrossReference(pdf).offsets;
}

std::string_view ObjectText(std::string_view pdf, int number) {
    const CrossReference table = ReadCrossReference(pdf);
    const auto n = static_cast<std::size_t>(number);
    if (number < 1 || n >= table.offsets.size()) {
        return {};
    }
    const std::size_t end = n + 1 < table.offsets.size() ? table.offsets[n + 1] : table.tableOffset;
    if (table.offsets[n] > end || end > pdf.size()) {
        return {};
    }
    return pdf.substr(table.offsets[n], end - table.offsets[n]);
}

std::string WithoutDirectionMarks(std::string_view text) {
    std::string unmarked;  // U+202A..U+202E are E2 80 AA..AE
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text.substr(k, 2) == "\xE2\x80" && k + 2 < text.size() &&
            static_cast<unsigned char>(text[k + 2]) >= 0xAA &&
            static_cast<unsigned char>(text[k + 2]) <= 0xAE) {
            k += 2;
        } else {
            unmarked += text[k];
        }
    }
    return unmarked;
}

}  // namespace tessaly::test
