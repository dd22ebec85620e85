#include "app/fake_platform.h"

#include "core/errors.h"
#include "fonts/pdf_fonts.h"
#include "pdfcalendar/pdf_calendar.h"
#include "platform/file_save.h"

namespace tessaly::test {

int FakePlatform::TextWidthInWindowFont(const std::string& text) {
    return BuiltInWindowFontWidthOfUtf8(text);
}

// The machine's own fonts.
EmbeddingResult FakePlatform::EmbedTextsForPdf(const EmbeddingRequest& request) {
    return tessaly::EmbedTextsForPdf(request);
}

void FakePlatform::SaveFile(const std::string& path, ByteSpans bytes,
                            const std::string& writeErrorMessage) {
    for (const auto& folder : closedFolders) {
        if (path.starts_with(folder)) {
            throw FileCreateError(path, std::make_error_code(std::errc::permission_denied), true);
        }
    }
    SaveFileAtomically(path, bytes, writeErrorMessage);
}

}  // namespace tessaly::test
