#include "ui/common/system_platform_services.h"

#include "fonts/pdf_fonts.h"
#include "platform/file_save.h"
#include "platform/locale_names.h"
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

EmbeddingResult SystemPlatformServices::EmbedTextsForPdf(const EmbeddingRequest& request) {
    return tessaly::EmbedTextsForPdf(request);
}

// The user's names, which a page without an encoding of its own is read in.
std::string SystemPlatformServices::InNamesEncoding(std::string utf8Page) {
    return InCodePage(utf8Page, UserLocaleNames().codePage);
}

char SystemPlatformServices::DecimalSeparator() {
    return UserDecimalSeparator();
}

void SystemPlatformServices::SaveFile(const std::string& path, ByteSpans bytes,
                                      const std::string& writeErrorMessage) {
    SaveFileAtomically(path, bytes, writeErrorMessage);
}

}  // namespace tessaly
