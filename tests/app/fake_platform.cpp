#include "app/fake_platform.h"

#include "core/errors.h"
#include "core/winansi.h"
#include "pdfcalendar/pdf_calendar.h"
#include "platform/file_save.h"
#include "platform/pdf_font.h"

namespace tessaly::test {

int FakePlatform::TextWidthInWindowFont(const std::string& text) {
    return BuiltInWindowFontWidthOfUtf8(text);
}

// The machine's own fonts.
std::optional<EmbeddedTexts> FakePlatform::EmbedTextsForPdf(
    const std::vector<std::string>& utf8Texts) {
    return tessaly::EmbedTextsForPdf(utf8Texts);
}

std::optional<std::string> FakePlatform::ToWinAnsi(std::string_view text) {
    return Utf8ToWinAnsi(text);
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
