#include "fonts/pdf_fonts.h"

#include <map>
#include <utility>

#include "fonts/font_backend.h"

namespace tessaly {

namespace {

// Asking for a face costs a search of the installed fonts and a shaping pass each.
constexpr int kMostEmbeddingAttempts = 24;

// Finds how many of some texts one face draws together with fixed texts.
class SharedFaceSearch {
  public:
    SharedFaceSearch(const std::string& localeName, const std::vector<std::string>& fixed,
                     const std::vector<std::string>& others)
        : localeName_(localeName), fixed_(fixed), others_(others) {}

    // The fixed texts' runs, then those of as many others as could go with them (in
    // `otherRuns`, the index of each other text's run); nothing when no other text could.
    std::optional<EmbeddedTexts> Search(std::vector<std::optional<std::size_t>>& otherRuns) {
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
        auto embedded = EmbedTextsInOneFace(texts, localeName_);
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

    const std::string& localeName_;
    const std::vector<std::string>& fixed_;
    const std::vector<std::string>& others_;
    int attempts_ = 0;
    std::map<std::vector<std::size_t>, EmbeddedTexts> drawn_;
};

// The result of one embedding: the face, the fixed texts' runs (`fixed` of them, when
// drawn), and each other text's run where it has one.
EmbeddingResult ResultOf(EmbeddedTexts embedded, std::size_t fixed,
                         const std::vector<std::optional<std::size_t>>& otherRuns) {
    EmbeddingResult result;
    if (fixed > 0) {
        result.together.emplace(embedded.runs.begin(),
                                embedded.runs.begin() + static_cast<std::ptrdiff_t>(fixed));
    }
    for (const auto& run : otherRuns) {
        result.each.push_back(run ? std::optional(embedded.runs[*run]) : std::nullopt);
    }
    result.font = std::move(embedded.font);
    return result;
}

}  // namespace

EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest& request, const std::string& localeName) {
    std::vector<std::optional<std::size_t>> otherRuns(request.each.size());
    // The fixed texts first: the others never cost them their face.
    if (!request.together.empty()) {
        auto embedded = EmbedTextsInOneFace(request.together, localeName);
        if (embedded && embedded->runs.size() == request.together.size()) {
            if (!request.each.empty()) {
                auto withOthers =
                    SharedFaceSearch(localeName, request.together, request.each).Search(otherRuns);
                if (withOthers) {
                    embedded = std::move(withOthers);
                }
            }
            return ResultOf(std::move(*embedded), request.together.size(), otherRuns);
        }
    }
    EmbeddingResult result;
    if (!request.each.empty()) {
        if (auto alone = SharedFaceSearch(localeName, {}, request.each).Search(otherRuns)) {
            result = ResultOf(std::move(*alone), 0, otherRuns);
        }
    }
    result.each.resize(request.each.size());
    if (request.boldWidths) {
        result.boldWidths = HelveticaBoldWidths();
    }
    return result;
}

}  // namespace tessaly
