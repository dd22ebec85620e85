#pragma once

#include "app/platform_services.h"

namespace tessaly {

// The window's services that come from the operating system alone, the same for every
// front end: clock, folders, locale numbers, text encoding and file saving. A front end
// adds its dialogs, measurements, locale names and settings store.
class SystemPlatformServices : public PlatformServices {
  public:
    LocalDateTime Now() override;
    std::string ProgramFolder() override;
    std::optional<std::string> DocumentsFolder() override;
    std::optional<std::string> ToWinAnsi(std::string_view text) override;
    std::optional<EmbeddedTexts> EmbedTextsForPdf(
        const std::vector<std::string>& utf8Texts) override;
    char DecimalSeparator() override;
    void SaveFile(const std::string& path, ByteSpans bytes,
                  const std::string& writeErrorMessage) override;
};

}  // namespace tessaly
