#include "pdfcalendar/pdf_event_lines.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "core/winansi.h"

namespace tessaly {

namespace {

constexpr char kWinAnsiEllipsis = '\x85';
constexpr const char* kEllipsis = "\u2026";

// Whether an advance in thousandths of `size` fits `width` points.
bool Fits(std::int64_t advance, int size, int width) {
    return advance * size <= std::int64_t{width} * 1000;
}

// A run's characters as drawn: each begins with the glyph that carries its text.
struct Cluster {
    std::size_t first = 0;
    std::size_t count = 0;
    std::int64_t advance = 0;
    std::string text;
};

std::vector<Cluster> ClustersOf(const GlyphRun& run) {
    std::vector<Cluster> clusters;
    for (std::size_t k = 0; k < run.size(); ++k) {
        if (clusters.empty() || !run[k].text.empty()) {
            clusters.push_back({k, 0, 0, run[k].text});
        }
        ++clusters.back().count;
        clusters.back().advance += run[k].width;
    }
    return clusters;
}

bool IsBlank(const Cluster& cluster) {
    return std::all_of(cluster.text.begin(), cluster.text.end(), [](char c) { return c == ' '; });
}

}  // namespace

std::vector<std::string> ShownEventTexts(const DayEvents& events, int lines) {
    const std::size_t room = static_cast<std::size_t>(std::max(lines, 1));
    const std::size_t total = events.lines.size() + static_cast<std::size_t>(events.more);
    if (total <= room) {
        return events.lines;
    }
    std::vector<std::string> shown(events.lines.begin(),
                                   events.lines.begin() + static_cast<std::ptrdiff_t>(room - 1));
    // Appended, not "+" + ...: mingw's GCC 12 warns of that falsely (-Wrestrict).
    std::string more = "+";
    more += std::to_string(total - (room - 1));
    shown.push_back(more + " more");
    return shown;
}

std::string FitWinAnsi(std::string_view text, const WinAnsiWidths& widths, int size, int width) {
    const auto advanceOf = [&](char c) { return widths[static_cast<unsigned char>(c)]; };
    std::int64_t whole = 0;
    for (const char c : text) {
        whole += advanceOf(c);
    }
    if (Fits(whole, size, width)) {
        return std::string(text);
    }
    std::int64_t advance = advanceOf(kWinAnsiEllipsis);
    std::size_t kept = 0;
    while (kept < text.size() && Fits(advance + advanceOf(text[kept]), size, width)) {
        advance += advanceOf(text[kept++]);
    }
    while (kept > 0 && text[kept - 1] == ' ') {
        --kept;
    }
    return std::string(text.substr(0, kept)) + kWinAnsiEllipsis;
}

GlyphRun FitGlyphs(const GlyphRun& run, std::string_view text, const GlyphRun& ellipsis, int size,
                   int width) {
    const std::vector<Cluster> clusters = ClustersOf(run);
    std::int64_t whole = 0;
    for (const Cluster& cluster : clusters) {
        whole += cluster.advance;
    }
    if (Fits(whole, size, width)) {
        return run;
    }
    // Shaping put a right-to-left text's characters in the opposite order.
    std::string backwards;
    for (auto cluster = clusters.rbegin(); cluster != clusters.rend(); ++cluster) {
        backwards += cluster->text;
    }
    const bool rightToLeft = backwards == text && clusters.size() > 1;

    std::int64_t advance = 0;
    for (const EmbeddedGlyph& glyph : ellipsis) {
        advance += glyph.width;
    }
    std::vector<Cluster> kept;
    for (std::size_t k = 0; k < clusters.size(); ++k) {
        const Cluster& next = clusters[rightToLeft ? clusters.size() - 1 - k : k];
        if (!Fits(advance + next.advance, size, width)) {
            break;
        }
        advance += next.advance;
        kept.push_back(next);
    }
    while (!kept.empty() && IsBlank(kept.back())) {
        kept.pop_back();
    }
    if (rightToLeft) {
        std::reverse(kept.begin(), kept.end());
    }
    GlyphRun fitted;
    if (rightToLeft) {
        fitted = ellipsis;
    }
    for (const Cluster& cluster : kept) {
        fitted.insert(fitted.end(), run.begin() + static_cast<std::ptrdiff_t>(cluster.first),
                      run.begin() + static_cast<std::ptrdiff_t>(cluster.first + cluster.count));
    }
    if (!rightToLeft) {
        fitted.insert(fitted.end(), ellipsis.begin(), ellipsis.end());
    }
    return fitted;
}

int EventLinesInCell(const PdfPageGeometry& page, bool showsWeekNumber) {
    const int bottom =
        page.rowHeight - (showsWeekNumber ? page.eventBottomRoomAboveWeek : page.eventBottomRoom);
    return std::max((bottom - page.eventBaseline) / page.eventLeading + 1, 1);
}

MonthsEventTexts ShownEventTextsOfPages(const CalendarDocument& document,
                                        const PdfPageGeometry& page) {
    MonthsEventTexts shown(document.pages.size());
    for (std::size_t k = 0; k < document.pages.size(); ++k) {
        const MonthPage& month = document.pages[k];
        auto& days = shown[k];
        for (std::size_t position = 0; position < month.cells.size(); ++position) {
            const DayCell& cell = month.cells[position];
            if (cell.day == 0) {
                continue;
            }
            days.resize(std::max(days.size(), static_cast<std::size_t>(cell.day)));
            if (!cell.events.lines.empty()) {
                // The week number stands in the first column's cells.
                const bool firstColumn = position % 7 == 0;
                days[static_cast<std::size_t>(cell.day - 1)] = ShownEventTexts(
                    cell.events, EventLinesInCell(page, document.weekNumbers && firstColumn));
            }
        }
    }
    return shown;
}

std::vector<std::string> EventTextsForEmbeddedFace(const MonthsEventTexts& shown) {
    std::vector<std::string> texts;
    std::map<std::string_view, bool> seen;
    for (const auto& month : shown) {
        for (const auto& day : month) {
            for (const std::string& text : day) {
                if (!Utf8ToWinAnsi(text) && seen.emplace(text, true).second) {
                    texts.push_back(text);
                }
            }
        }
    }
    if (!texts.empty()) {
        texts.push_back(kEllipsis);
    }
    return texts;
}

MonthsEventLines FitEventLines(const MonthsEventTexts& shown,
                               const std::vector<std::string>& forEmbeddedFace,
                               const std::vector<std::optional<GlyphRun>>& runs,
                               const PdfPageGeometry& page) {
    const WinAnsiWidths& widths = HelveticaWidths();
    const int width = page.columnWidth - page.textInset - page.eventRightRoom;

    std::map<std::string_view, const GlyphRun*> drawn;
    GlyphRun ellipsis;
    for (std::size_t k = 0; k < forEmbeddedFace.size() && k < runs.size(); ++k) {
        if (const auto& run = runs[k]) {
            drawn.emplace(forEmbeddedFace[k], &*run);
            if (forEmbeddedFace[k] == kEllipsis) {
                ellipsis = *run;
            }
        }
    }

    MonthsEventLines lines(shown.size());
    for (std::size_t k = 0; k < shown.size(); ++k) {
        lines[k].resize(shown[k].size());
        for (std::size_t day = 0; day < shown[k].size(); ++day) {
            for (const std::string& text : shown[k][day]) {
                PdfEventLine line;
                if (const auto winAnsi = Utf8ToWinAnsi(text)) {
                    line.winAnsi = FitWinAnsi(*winAnsi, widths, page.eventSize, width);
                } else if (const auto run = drawn.find(text); run != drawn.end()) {
                    line.glyphs = FitGlyphs(*run->second, text, ellipsis, page.eventSize, width);
                } else {
                    line.winAnsi =
                        FitWinAnsi(Utf8ToWinAnsiReplacing(text), widths, page.eventSize, width);
                }
                lines[k][day].push_back(std::move(line));
            }
        }
    }
    return lines;
}

}  // namespace tessaly
