#pragma once

#include "app/platform_services.h"

namespace tessaly {

// The window's services that come from the operating system alone, the same for every
// front end: clock, folders, locale numbers, fonts, text encoding and file saving. A front end
// adds its dialogs, measurements, locale names and settings store.
class SystemPlatformServices : public PlatformServices {
  public:
    LocalDateTime Now() override;
    std::string ProgramFolder() override;
    std::optional<std::string> DocumentsFolder() override;
    EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest& request) override;
    std::string InNamesEncoding(std::string utf8Page) override;
    char DecimalSeparator() override;
    void SaveFile(const std::string& path, ByteSpans bytes,
                  const std::string& writeErrorMessage) override;
};

}  // namespace tessaly
