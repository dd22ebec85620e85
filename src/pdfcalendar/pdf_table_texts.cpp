#include "pdfcalendar/pdf_table_texts.h"

#include <map>

#include "core/winansi.h"

namespace tessaly {

namespace {

// Asking for a face costs a search of the installed fonts and a shaping pass each.
constexpr int kMostEmbeddingAttempts = 24;

// Finds how many of some other texts one face draws together with fixed texts.
class OtherTextsEmbedding {
  public:
    OtherTextsEmbedding(const PdfCalendarEnvironment& environment,
                        const std::vector<std::string>& fixed,
                        const std::vector<std::string>& others)
        : environment_(environment), fixed_(fixed), others_(others) {}

    // The fixed texts' runs, then those of as many others as could go with them; nothing
    // when no other text could.
    std::optional<EmbeddedTexts> Embed(std::vector<std::optional<std::size_t>>& otherRuns) {
        std::vector<std::size_t> all(others_.size());
        for (std::size_t k = 0; k < all.size(); ++k) {
            all[k] = k;
        }
        const std::vector<std::size_t> chosen = Together(all);
        otherRuns.assign(others_.size(), std::nullopt);
        const auto embedded = drawn_.find(chosen);
        if (chosen.empty() || embedded == drawn_.end()) {
            return std::nullopt;
        }
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            otherRuns[chosen[k]] = fixed_.size() + k;
        }
        return std::move(embedded->second);
    }

  private:
    // Whether one face draws the fixed texts and `subset` of the others; what it drew is
    // kept.
    bool Attempt(const std::vector<std::size_t>& subset) {
        if (attempts_ >= kMostEmbeddingAttempts) {
            return false;
        }
        ++attempts_;
        std::vector<std::string> texts = fixed_;
        for (const std::size_t k : subset) {
            texts.push_back(others_[k]);
        }
        auto embedded = environment_.embedTexts(texts);
        if (!embedded || embedded->runs.size() != texts.size()) {
            return false;
        }
        drawn_.insert_or_assign(subset, std::move(*embedded));
        return true;
    }

    // All of `candidates` when one face takes them; else the larger of what each half
    // keeps, or both halves' when a face takes them together.
    std::vector<std::size_t> Together(const std::vector<std::size_t>& candidates) {
        if (candidates.empty() || Attempt(candidates)) {
            return candidates;
        }
        if (candidates.size() == 1) {
            return {};
        }
        const auto middle = candidates.begin() + static_cast<std::ptrdiff_t>(candidates.size() / 2);
        const std::vector<std::size_t> left = Together({candidates.begin(), middle});
        const std::vector<std::size_t> right = Together({middle, candidates.end()});
        if (!left.empty() && !right.empty()) {
            std::vector<std::size_t> both = left;
            both.insert(both.end(), right.begin(), right.end());
            if (Attempt(both)) {
                return both;
            }
        }
        return left.size() >= right.size() ? left : right;
    }

    const PdfCalendarEnvironment& environment_;
    const std::vector<std::string>& fixed_;
    const std::vector<std::string>& others_;
    int attempts_ = 0;
    std::map<std::vector<std::size_t>, EmbeddedTexts> drawn_;
};

}  // namespace

PdfTableTexts ChoosePdfTableTexts(const NameTable& names,
                                  const std::vector<CalendarRequest>& months,
                                  const PdfCalendarEnvironment& environment,
                                  const std::vector<std::string>& otherTexts) {
    const auto monthSlot = [](const CalendarRequest& month) {
        return static_cast<std::size_t>(kFirstMonthSlot + month.monthIndex);
    };
    const auto year = [](const CalendarRequest& month) {
        std::string text = " ";  // not " " + ...: mingw's GCC 12 warns of that falsely
        return text += std::to_string(month.year);
    };
    const auto tableTexts = [&](const NameTable& table) {
        std::vector<std::string> texts(table.begin(), table.begin() + 7);
        for (const CalendarRequest& month : months) {
            texts.push_back(table[monthSlot(month)] + year(month));
        }
        return texts;
    };
    const auto windowTitles = [&](const NameTable& table) {
        std::vector<std::string> titles;
        for (const CalendarRequest& month : months) {
            titles.push_back(table[monthSlot(month)] + year(month));
        }
        return titles;
    };

    // Windows-1252 must hold the name itself, not just the code page's bytes of it: a
    // Russian name read in Windows-1251 on a Western machine reads as Latin letters.
    const auto holds = [&](std::size_t slot) {
        const auto winAnsi = environment.toWinAnsi(names[slot]);
        return winAnsi && (!environment.unicodeNames ||
                           Utf8ToWinAnsi((*environment.unicodeNames)[slot]) == winAnsi);
    };
    PdfTableTexts chosen;
    bool allWinAnsi = true;
    for (std::size_t k = 0; k < months.size() && allWinAnsi; ++k) {
        allWinAnsi = holds(monthSlot(months[k]));
    }
    for (std::size_t slot = 0; slot < 7 && allWinAnsi; ++slot) {
        allWinAnsi = holds(slot);
    }
    chosen.otherRuns.assign(otherTexts.size(), std::nullopt);
    // The other texts alone, in a face of their own.
    const auto embedOthers = [&] {
        if (!otherTexts.empty() && environment.embedTexts) {
            chosen.embedded =
                OtherTextsEmbedding(environment, {}, otherTexts).Embed(chosen.otherRuns);
        }
    };
    if (allWinAnsi) {
        chosen.winAnsi = tableTexts(PdfNames(names, environment.toWinAnsi));
        chosen.windowTitles = windowTitles(names);
        embedOthers();
        return chosen;
    }
    if (environment.embedTexts) {
        const std::vector<std::string> table = tableTexts(environment.unicodeNames.value_or(names));
        auto embedded = environment.embedTexts(table);
        if (embedded && embedded->runs.size() == table.size()) {
            chosen.tableEmbedded = true;
            chosen.windowTitles = windowTitles(names);
            if (!otherTexts.empty()) {
                auto withOthers =
                    OtherTextsEmbedding(environment, table, otherTexts).Embed(chosen.otherRuns);
                if (withOthers) {
                    embedded = std::move(withOthers);
                }
            }
            chosen.embedded = std::move(embedded);
            return chosen;
        }
    }
    NameTable english;
    FillDayNames(english, false, {});
    FillMonthNames(english, false, {});
    chosen.winAnsi = tableTexts(english);
    chosen.windowTitles = windowTitles(english);
    embedOthers();
    return chosen;
}

}  // namespace tessaly
