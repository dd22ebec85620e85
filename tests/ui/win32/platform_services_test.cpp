#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "app/form1.h"
#include "pdfcalendar/pdf_calendar.h"
#include "ui/win32/win32_platform_services.h"
#include "ui/win32/window_font.h"

namespace tessaly {
namespace {

struct WindowFont {
    HFONT font = CreateWindowFont();
    ~WindowFont() { ::DeleteObject(font); }
};

WORD UserLanguage() {
    return PRIMARYLANGID(LANGIDFROMLCID(::GetUserDefaultLCID()));
}

TEST(WindowFont, IsMsSansSerifWith13PixelCharacters) {
    WindowFont window;
    const HDC screen = ::GetDC(nullptr);
    const HGDIOBJ previous = ::SelectObject(screen, window.font);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(screen, &metrics);
    char face[LF_FACESIZE] = {};
    ::GetTextFaceA(screen, sizeof face, face);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);

    // The characters are 13 pixels high: the 10-point face, a 16-pixel cell with 3
    // pixels of internal leading. A height of the other sign would give the 8-point face.
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 13);
    EXPECT_EQ(metrics.tmHeight, 16);
    EXPECT_STREQ(face, "MS Sans Serif")
        << "Wine needs the bitmap face: copy /usr/share/wine/fonts/sserife.fon into the "
           "prefix's drive_c/windows/Fonts";
}

TEST(TextWidthInWindowFont, AgreesWithTheBuiltInWidthsOfTheSameFace) {
    WindowFont window;
    Win32PlatformServices services(window.font);
    EXPECT_EQ(services.TextWidthInWindowFont(""), 0);
    // The PDF title is centred with these widths, and tessaly-cli uses the built-in
    // table of the same face; allow Wine a pixel.
    for (const char* text :
         {"December 2026", "Wednesday", "Saturday", "Mo", "WWW", "iii", "\x01", "M\xE4rz"}) {
        EXPECT_NEAR(services.TextWidthInWindowFont(text), BuiltInWindowFontWidth(text), 1) << text;
    }
}

TEST(DecimalSeparator, FollowsTheUserLocaleAndTheYearFieldAcceptsIt) {
    struct Case {
        WORD language;
        char separator;
    };
    const Case cases[] = {{LANG_ENGLISH, '.'}, {LANG_FRENCH, ','}, {LANG_GERMAN, ','}};
    const auto found = std::find_if(std::begin(cases), std::end(cases),
                                    [](const Case& c) { return c.language == UserLanguage(); });
    if (found == std::end(cases)) {
        GTEST_SKIP() << "no expectation for the user language " << UserLanguage();
    }
    WindowFont window;
    Win32PlatformServices services(window.font);
    EXPECT_EQ(services.DecimalSeparator(), found->separator);

    TForm1 form(services);
    EXPECT_TRUE(form.SpinEdit1KeyAllowed(found->separator));
    EXPECT_FALSE(form.SpinEdit1KeyAllowed(found->separator == '.' ? ',' : '.'));
}

}  // namespace
}  // namespace tessaly
