#include "ui/common/system_platform_services.h"

#include "platform/file_save.h"
#include "platform/locale_names.h"
#include "platform/pdf_font.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

namespace tessaly {

LocalDateTime SystemPlatformServices::Now() {
    return LocalNow();
}

std::string SystemPlatformServices::ProgramFolder() {
    return tessaly::ProgramFolder();
}

std::optional<std::string> SystemPlatformServices::DocumentsFolder() {
    return tessaly::DocumentsFolder();
}

std::optional<std::string> SystemPlatformServices::ToWinAnsi(std::string_view text) {
    return tessaly::ToWinAnsi(text);
}

std::optional<EmbeddedTexts> SystemPlatformServices::EmbedTextsForPdf(
    const std::vector<std::string>& utf8Texts) {
    return tessaly::EmbedTextsForPdf(utf8Texts);
}

char SystemPlatformServices::DecimalSeparator() {
    return UserDecimalSeparator();
}

void SystemPlatformServices::SaveFile(const std::string& path, ByteSpans bytes,
                                      const std::string& writeErrorMessage) {
    SaveFileAtomically(path, bytes, writeErrorMessage);
}

}  // namespace tessaly
