#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/color.h"
#include "calendar/names.h"
#include "core/date_time.h"
#include "pdf/embedded_font.h"
#include "pdf/print_pdf.h"
#include "settings/reg.h"

namespace tessaly {

// Everything the window needs from the desktop and the operating system, so one model
// drives the Win32 and Qt front ends alike and tests run it with a fake.
class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    virtual SettingsBackend& Settings() = 0;
    // Hands a file or web address to the desktop's default handler; the outcome is
    // not examined.
    virtual void OpenWithDefaultHandler(const std::string& target) = 0;
    // The system colour picker, modal, starting on `initial` and offering
    // `customColors`, which it updates when the user confirms. Nothing when cancelled.
    virtual std::optional<ColorValue> PickColor(ColorValue initial,
                                                std::array<ColorValue, 16>& customColors) = 0;
    // Caption "Information", information icon, OK (the default) and Cancel; Esc and
    // the close box give Cancel. `text` separates its lines with a lone CR. True for OK.
    virtual bool ShowAboutBox(const std::string& text) = 0;
    // Caption "Tessaly", error icon, one OK button.
    virtual void ShowErrorBox(const std::string& text) = 0;
    virtual LocalDateTime Now() = 0;
    // Folder of the executable, with its trailing separator.
    virtual std::string ProgramFolder() = 0;
    // Where calendars go when the program's folder cannot be written.
    virtual std::optional<std::string> DocumentsFolder() = 0;
    // Width in pixels of platform text in the window's font.
    virtual int TextWidthInWindowFont(const std::string& text) = 0;
    virtual ScreenResolution ScreenDpi() = 0;
    // The process-wide table of the user's locale names (English where empty).
    virtual const LocaleNames& UserLocaleNames() = 0;
    // The same names in UTF-8, for the PDF's embedded font; where the platform's text is
    // UTF-8 they are the same table.
    virtual const LocaleNames& UserLocaleNamesUtf8() { return UserLocaleNames(); }
    // UTF-8 texts as glyphs of one embedded face; nothing when the machine cannot draw
    // them all correctly (see EmbedTextsForPdf).
    virtual std::optional<EmbeddedTexts> EmbedTextsForPdf(
        const std::vector<std::string>& utf8Texts) = 0;
    // Platform text in Windows-1252; nothing when a character cannot be shown there.
    virtual std::optional<std::string> ToWinAnsi(std::string_view text) = 0;
    // The locale's decimal separator, accepted by the year field.
    virtual char DecimalSeparator() = 0;
    // Writes a file whole (temporary file, then rename); see SaveFileAtomically.
    virtual void SaveFile(const std::string& path, std::string_view bytes,
                          const std::string& writeErrorMessage) = 0;
};

}  // namespace tessaly
