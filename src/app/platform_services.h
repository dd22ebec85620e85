#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/color.h"
#include "output/calendar_output.h"
#include "settings/reg.h"

namespace tessaly {

// Everything the window needs from the desktop and the operating system, so one model
// drives the Win32 and Qt front ends alike and tests run it with a fake. The clock is
// also today's date.
class PlatformServices : public CalendarServices {
  public:
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
    // Folder of the executable, with its trailing separator.
    virtual std::string ProgramFolder() = 0;
    // Where calendars go when the program's folder cannot be written.
    virtual std::optional<std::string> DocumentsFolder() = 0;
    // The locale's decimal separator, accepted by the year field.
    virtual char DecimalSeparator() = 0;
};

}  // namespace tessaly
