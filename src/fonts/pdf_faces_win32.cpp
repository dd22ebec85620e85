// The faces of a document's texts on Windows: one face for texts that go together, or a
// face a text, shared by the texts it holds.
#include <algorithm>

#include "fonts/font_backend.h"
#include "fonts/uniscribe_faces_win32.h"
#include "platform/wide_text_win32.h"

namespace tessaly {

namespace {

// A memory device context for measuring, deleted with it.
class MeasuringContext {
  public:
    MeasuringContext() : dc_(::CreateCompatibleDC(nullptr)) {}
    ~MeasuringContext() {
        if (dc_ != nullptr) {
            ::DeleteDC(dc_);
        }
    }
    MeasuringContext(const MeasuringContext&) = delete;
    MeasuringContext& operator=(const MeasuringContext&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

}  // namespace

// Uniscribe shapes alike for every language, and the faces come in one order.
std::optional<EmbeddedTexts> EmbedTextsInOneFace(const std::vector<std::string>& utf8Texts,
                                                 FaceWeight weight,
                                                 const std::string& /*localeName*/) {
    std::vector<std::wstring> texts;
    for (const std::string& utf8 : utf8Texts) {
        texts.push_back(WideFromUtf8(utf8));
    }
    const MeasuringContext dc;
    if (dc.get() == nullptr) {
        return std::nullopt;
    }
    std::vector<std::wstring> triedFaces;
    for (const std::wstring& face : CandidateFaces()) {
        if (auto embedded = EmbedInFace(dc.get(), face, texts, weight, triedFaces)) {
            return embedded;
        }
    }
    return std::nullopt;
}

// A text goes to the first face taken that holds it, else to the first candidate that
// does; each face is then shaped with and cut once, for all its texts. A text no one face
// holds is not drawn: Uniscribe shapes a text in the face selected.
EmbeddedFaces EmbedTextsInFaces(const std::vector<std::string>& utf8Texts, FaceWeight weight,
                                const std::string& /*localeName*/) {
    EmbeddedFaces embedded;
    embedded.runs.resize(utf8Texts.size());
    const MeasuringContext dc;
    if (dc.get() == nullptr) {
        return embedded;
    }
    const std::vector<std::wstring> candidates = CandidateFaces();
    struct Taken {
        std::wstring face;
        std::vector<std::size_t> texts;
    };
    std::vector<Taken> taken;
    std::vector<std::wstring> texts;
    for (std::size_t k = 0; k < utf8Texts.size(); ++k) {
        texts.push_back(WideFromUtf8(utf8Texts[k]));
        auto holder = std::find_if(taken.begin(), taken.end(), [&](const Taken& face) {
            return FaceHolds(dc.get(), face.face, weight, texts[k]);
        });
        if (holder == taken.end()) {
            const auto face = std::find_if(candidates.begin(), candidates.end(), [&](auto& face) {
                return FaceHolds(dc.get(), face, weight, texts[k]);
            });
            if (face == candidates.end()) {
                continue;
            }
            holder = taken.insert(taken.end(), {*face, {}});
        }
        holder->texts.push_back(k);
    }
    for (const Taken& face : taken) {
        std::vector<std::wstring> faceTexts;
        for (const std::size_t k : face.texts) {
            faceTexts.push_back(texts[k]);
        }
        std::vector<std::wstring> triedFaces;
        auto drawn = EmbedInFace(dc.get(), face.face, faceTexts, weight, triedFaces);
        if (!drawn) {
            continue;
        }
        const auto index = static_cast<std::uint16_t>(embedded.fonts.size());
        embedded.fonts.push_back(std::move(drawn->font));
        for (std::size_t k = 0; k < face.texts.size(); ++k) {
            for (EmbeddedGlyph& glyph : drawn->runs[k]) {
                glyph.face = index;
            }
            embedded.runs[face.texts[k]] = std::move(drawn->runs[k]);
        }
    }
    return embedded;
}

}  // namespace tessaly
