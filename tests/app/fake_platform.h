#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/platform_services.h"
#include "support/memory_settings.h"
#include "support/test_files.h"

namespace tessaly::test {

// A desktop that records what the window asks of it and answers dialogs from a script.
class FakePlatform : public PlatformServices {
  public:
    MemorySettings settings;
    std::vector<std::string> opened;
    std::vector<std::string> errorBoxes;
    std::vector<std::string> aboutBoxes;
    bool aboutAnswer = false;
    // The colour picker: called with the initial colour and the custom colours.
    std::function<std::optional<ColorValue>(ColorValue, std::array<ColorValue, 16>&)> picker =
        [](ColorValue, std::array<ColorValue, 16>&) { return std::nullopt; };
    LocalDateTime now{2026, 12, 8, 17, 45, 30};
    TempFolder programFolder;
    TempFolder documentsFolder;
    std::string programFolderPath = programFolder.withSeparator();
    std::optional<std::string> documentsFolderPath = documentsFolder.withSeparator();
    // Folders that take no new files, as an installed copy's folder (files are saved
    // for real elsewhere).
    std::vector<std::string> closedFolders;
    LocaleNames localeNames = WithEnglishFallback({});
    char decimalSeparator = '.';
    ScreenResolution dpi{96, 96};

    SettingsBackend& Settings() override { return settings; }
    void OpenWithDefaultHandler(const std::string& target) override { opened.push_back(target); }
    std::optional<ColorValue> PickColor(ColorValue initial,
                                        std::array<ColorValue, 16>& customColors) override {
        return picker(initial, customColors);
    }
    bool ShowAboutBox(const std::string& text) override {
        aboutBoxes.push_back(text);
        return aboutAnswer;
    }
    void ShowErrorBox(const std::string& text) override { errorBoxes.push_back(text); }
    LocalDateTime Now() override { return now; }
    std::string ProgramFolder() override { return programFolderPath; }
    std::optional<std::string> DocumentsFolder() override { return documentsFolderPath; }
    int TextWidthInWindowFont(const std::string& text) override;
    ScreenResolution ScreenDpi() override { return dpi; }
    const LocaleNames& UserLocaleNames() override { return localeNames; }
    EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest& request) override;
    char DecimalSeparator() override { return decimalSeparator; }
    void SaveFile(const std::string& path, ByteSpans bytes,
                  const std::string& writeErrorMessage) override;
};

}  // namespace tessaly::test
