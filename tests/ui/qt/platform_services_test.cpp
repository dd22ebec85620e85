#include <gtest/gtest.h>
#include <locale.h>

#include <QColorDialog>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <cstdlib>

#include "core/product.h"
#include "support/scoped_env.h"
#include "ui/qt/window_font.h"
#include "window_harness.h"

namespace tessaly {
namespace {

using test::StartedWindow;
using test::WhenModal;

// LC_ALL set to `name` while the object lives; `available` tells whether the C library
// has that locale at all.
class UserLocale : public test::ScopedEnv {
  public:
    explicit UserLocale(const char* name) : ScopedEnv("LC_ALL", name) {
        const locale_t probe = ::newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
        available_ = probe != static_cast<locale_t>(nullptr);
        if (available_) {
            ::freelocale(probe);
        }
    }
    bool available() const { return available_; }

  private:
    bool available_ = false;
};

struct Desktop {
    test::TempFolder config;
    test::TempFolder program;
    test::ConfigHome home{config.path().string()};
};

TEST(QtPlatformServices, FilesOpenAsFileUrlsAndAddressesAsTheyAre) {
    const std::pair<std::string, QString> cases[] = {
        {"/tmp/my calendars/calendar.html", "file:///tmp/my calendars/calendar.html"},
        {"/home/ana/M\xC3\xA4rz/calendar.pdf", "file:///home/ana/M\xC3\xA4rz/calendar.pdf"},
        {kMakerWebAddress, kMakerWebAddress},
        {kProductWebAddress, kProductWebAddress},
    };
    for (const auto& [target, url] : cases) {
        EXPECT_EQ(UrlForTarget(target).toString(), url) << target;
    }
}

TEST(QtPlatformServices, ThePickerStartsOnTheColourAndKeepsCustomColoursOnlyOnOk) {
    Desktop desktop;
    StartedWindow w(desktop.program.withSeparator());
    for (const bool ok : {false, true}) {
        std::array<ColorValue, 16> custom;
        custom.fill(0xFFFFFF);
        custom[3] = ColorFromRgb(1, 2, 3);
        QColor startedOn, offeredInSlot3;
        WhenModal([&](QWidget& dialog) {
            auto& picker = dynamic_cast<QColorDialog&>(dialog);
            startedOn = picker.currentColor();
            offeredInSlot3 = QColorDialog::customColor(3);
            QColorDialog::setCustomColor(5, QColor(9, 8, 7));  // "Add to Custom Colors"
            picker.setCurrentColor(QColor(0xAA, 0xBB, 0xCC));
            ok ? picker.accept() : picker.reject();
        });
        const auto picked = w.services.PickColor(ColorFromRgb(0x10, 0x20, 0x30), custom);

        EXPECT_EQ(startedOn, QColor(0x10, 0x20, 0x30));
        EXPECT_EQ(offeredInSlot3, QColor(1, 2, 3));
        EXPECT_EQ(picked, ok ? std::optional(ColorFromRgb(0xAA, 0xBB, 0xCC)) : std::nullopt);
        EXPECT_EQ(custom[5], ok ? ColorFromRgb(9, 8, 7) : 0xFFFFFF);
        EXPECT_EQ(custom[3], ColorFromRgb(1, 2, 3));
    }
}

// What the window font draws is as wide as the measure says: the ink of a text, found in
// the pixels the window's own painter puts down, lies within its advance less a pixel or
// two of side bearings. A measure of the UTF-8 bytes, or of the wrong font, misses it.
TEST(QtPlatformServices, TextIsMeasuredAsTheWindowFontDrawsIt) {
    Desktop desktop;
    StartedWindow w(desktop.program.withSeparator());
    EXPECT_EQ(w.services.TextWidthInWindowFont(""), 0);
    for (const char* text : {"December 2026", "M\xC3\xA4rz 2026", "WWWW", "iiii 1111"}) {
        QImage image(400, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(w.window.font());
        painter.setPen(Qt::black);
        painter.drawText(100, 30, QString::fromUtf8(text));
        painter.end();
        int left = image.width();
        int right = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        const int ink = right - left + 1;
        const int measured = w.services.TextWidthInWindowFont(text);
        EXPECT_GE(measured, ink - 1) << text;
        EXPECT_LE(measured, ink + 4) << text;
    }
    // Offscreen screens have the customary 96 dots per inch.
    const ScreenResolution dpi = w.services.ScreenDpi();
    EXPECT_EQ(dpi.dpiX, 96);
    EXPECT_EQ(dpi.dpiY, 96);
}

TEST(QtPlatformServices, LocaleNamesStayUntilTheWindowHearsOfALocaleChange) {
    Desktop desktop;
    const UserLocale english("C");
    StartedWindow w(desktop.program.withSeparator());
    EXPECT_EQ(w.services.UserLocaleNames().months[2], "March");

    const UserLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.available()) << "scripts/install-deps.sh generates de_DE.UTF-8";
    EXPECT_EQ(w.services.UserLocaleNames().months[2], "March");
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(&w.window, &change);
    EXPECT_EQ(w.services.UserLocaleNames().months[2], "M\xC3\xA4rz");
}

TEST(QtPlatformServices, TheYearFieldTakesTheDecimalSeparatorOfTheUsersLocale) {
    struct Case {
        const char* locale;
        char separator;
        const char* shown;  // after typing "12,5"
    };
    const Case cases[] = {
        {"C", '.', "125"},
        {"en_US.UTF-8", '.', "125"},
        {"de_DE.UTF-8", ',', "12,5"},
        {"fr_FR.UTF-8", ',', "12,5"},
    };
    for (const auto& c : cases) {
        const UserLocale locale(c.locale);
        ASSERT_TRUE(locale.available()) << "scripts/install-deps.sh generates " << c.locale;
        Desktop desktop;
        StartedWindow w(desktop.program.withSeparator());
        EXPECT_EQ(w.services.DecimalSeparator(), c.separator) << c.locale;
        auto& field = w.Get<QLineEdit>("SpinEdit1");
        field.setFocus();
        field.selectAll();
        QTest::keyClick(&field, Qt::Key_Backspace);
        QTest::keyClicks(&field, "12,5");
        EXPECT_EQ(field.text().toStdString(), c.shown) << c.locale;
    }
}

}  // namespace
}  // namespace tessaly
