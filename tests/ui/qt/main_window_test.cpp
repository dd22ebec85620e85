#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QColorDialog>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "app/form_layout.h"
#include "calendar/names.h"
#include "core/product.h"
#include "platform/system.h"
#include "ui/qt/window_font.h"
#include "window_harness.h"

namespace tessaly {
namespace {

using test::StartedWindow;
using test::WhenModal;

// A fresh settings folder and program folder for each window of a test.
struct Desktop {
    test::TempFolder config;
    test::TempFolder program;
    test::ConfigHome home{config.path().string()};

    std::string Settings() const {
        return test::ReadWholeFile(config.path() / "Orvanta" / "Tessaly.conf");
    }
    std::filesystem::path ProgramFile(const char* name) const { return program.path() / name; }
};

TEST(QtWindow, ControlsStandWhereTheLayoutPutsThem) {
    Desktop desktop;
    StartedWindow w(desktop.program.withSeparator());
    EXPECT_EQ(w.window.windowTitle(), QString::fromLatin1(kForm1Caption));
    EXPECT_EQ(w.window.size(), QSize(kForm1Place.width, kForm1Place.height));
    EXPECT_EQ(w.window.minimumSize(), w.window.maximumSize());
    EXPECT_FALSE(w.window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.window.font().pixelSize(), kWindowFontPixelSize);

    for (const ControlLayout& c : kForm1Controls) {
        const QWidget* control = w.window.Control(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        const QWidget* parent = c.parent == kForm1Name ? &w.window : w.window.Control(c.parent);
        EXPECT_EQ(control->parentWidget(), parent) << c.name;
        const auto [left, top, width, height] = c.place;
        EXPECT_EQ(control->geometry(), QRect(left, top, width, height)) << c.name;
        if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
            EXPECT_EQ(button->text().toStdString(), c.caption) << c.name;
        } else if (const auto* box = qobject_cast<const QGroupBox*>(control)) {
            EXPECT_EQ(box->title().toStdString(), c.caption) << c.name;
        } else if (const auto* list = qobject_cast<const QComboBox*>(control)) {
            EXPECT_EQ(list->count(), static_cast<int>(c.items.size())) << c.name;
            EXPECT_EQ(list->maxVisibleItems(), list->count()) << c.name;
            EXPECT_EQ(list->view()->sizeHintForRow(0), c.rowHeight) << c.name;
        }
        EXPECT_EQ(control->toolTip().toStdString(), c.hint) << c.name;
        EXPECT_EQ(control->cursor().shape() == Qt::PointingHandCursor, c.handCursor) << c.name;
    }
    EXPECT_EQ(w.Get<QLabel>("Image1").pixmap().size(), QSize(368, 67));  // built in
    // Today's month and year, and the first run's week start.
    const LocalDateTime today = LocalNow();
    EXPECT_EQ(w.Get<QComboBox>("Combo2").currentIndex(), today.month - 1);
    EXPECT_EQ(w.Get<QLineEdit>("SpinEdit1").text(), QString::number(today.year));
    EXPECT_EQ(w.Get<QComboBox>("Combo1").currentText(), "Sunday");

    // Focus starts on the first control of the tab order; Tab visits them all in order.
    std::vector<std::string_view> expected = Form1TabOrder();
    expected.push_back(expected.front());
    std::vector<std::string> order;
    for (size_t k = 0; k < expected.size(); ++k) {
        order.push_back(QApplication::focusWidget()->objectName().toStdString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, std::vector<std::string>(expected.begin(), expected.end()));
}

TEST(QtWindow, ReturnOrSpaceRightAfterStartMakesThisMonthsPageAndOpensIt) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        Desktop desktop;
        StartedWindow w(desktop.program.withSeparator());
        QTest::keyClick(w.window.windowHandle(), key);

        const std::string page = desktop.ProgramFile("calendar.html");
        EXPECT_EQ(w.services.opened, std::vector<std::string>{page}) << key;
        const LocalDateTime today = LocalNow();
        const std::string title = std::string("<title>") + kEnglishMonthNames[today.month - 1] +
                                  " " + std::to_string(today.year);
        EXPECT_NE(test::ReadWholeFile(page).find(title), std::string::npos) << key;
    }
}

TEST(QtWindow, ThePdfChoiceIsStoredAndTheNextStartMakesAPdf) {
    Desktop desktop;
    {
        StartedWindow first(desktop.program.withSeparator());
        QTest::mouseClick(&first.Get<QCheckBox>("CheckBox3"), Qt::LeftButton);
        EXPECT_NE(desktop.Settings().find("\nPDF=1\n"), std::string::npos) << desktop.Settings();
    }
    StartedWindow second(desktop.program.withSeparator());
    EXPECT_TRUE(second.Get<QCheckBox>("CheckBox3").isChecked());
    QTest::mouseClick(&second.Get<QPushButton>("Button1"), Qt::LeftButton);
    const std::string pdf = desktop.ProgramFile("calendar.pdf");
    EXPECT_EQ(second.services.opened, std::vector<std::string>{pdf});
    EXPECT_TRUE(test::ReadWholeFile(pdf).starts_with("%PDF-1.4"));
    EXPECT_FALSE(std::filesystem::exists(desktop.ProgramFile("calendar.html")));
}

TEST(QtWindow, APickedColourReachesSwatchBoxAndPageAndCancelChangesNothing) {
    struct Case {
        bool accept;
        bool checked;
        std::string weekendRule;
    };
    const Case cases[] = {
        {true, true, "  td.weekend {background: #123456; "},
        {false, false, ""},
    };
    for (const auto& c : cases) {
        Desktop desktop;
        StartedWindow w(desktop.program.withSeparator());
        const QColor buttonFace = QApplication::palette().color(QPalette::Button);
        WhenModal([&](QWidget& dialog) {
            auto& picker = dynamic_cast<QColorDialog&>(dialog);
            picker.setCurrentColor(QColor(0x12, 0x34, 0x56));
            c.accept ? picker.accept() : picker.reject();
        });
        QTest::mouseClick(&w.Get<QPushButton>("Button5"), Qt::LeftButton);

        const QColor swatch = w.Get<QWidget>("Panel1").palette().color(QPalette::Window);
        EXPECT_EQ(swatch, c.accept ? QColor(0x12, 0x34, 0x56) : buttonFace);
        EXPECT_EQ(w.Get<QCheckBox>("CheckBox1").isChecked(), c.checked);
        QTest::mouseClick(&w.Get<QPushButton>("Button1"), Qt::LeftButton);
        const std::string page = test::ReadWholeFile(desktop.ProgramFile("calendar.html"));
        EXPECT_EQ(page.find("td.weekend {") != std::string::npos, c.accept);
        if (c.accept) {
            EXPECT_NE(page.find("\r\n" + c.weekendRule), std::string::npos);
        }
    }
}

TEST(QtWindow, OnlyOkInTheAboutBoxOpensTheMakersAddress) {
    struct Case {
        const char* answer;
        std::function<void(QMessageBox&)> give;
        bool opens;
    };
    const Case cases[] = {
        {"OK", [](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); }, true},
        {"Return", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, true},
        {"Cancel", [](QMessageBox& box) { box.button(QMessageBox::Cancel)->click(); }, false},
        {"Esc", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, false},
        {"close box", [](QMessageBox& box) { box.close(); }, false},
    };
    for (const auto& c : cases) {
        Desktop desktop;
        StartedWindow w(desktop.program.withSeparator());
        QString title, text;
        QMessageBox::Icon icon{};
        WhenModal([&](QWidget& dialog) {
            auto& box = dynamic_cast<QMessageBox&>(dialog);
            title = box.windowTitle();
            text = box.text();
            icon = box.icon();
            c.give(box);
        });
        QTest::mouseClick(&w.Get<QWidget>("Image1"), Qt::LeftButton);

        EXPECT_EQ(title, "Information");
        EXPECT_EQ(icon, QMessageBox::Information);
        EXPECT_EQ(text,
                  "Tessaly version 3.5\n\nCopyright 2026 Orvanta\nhttps://orvanta.example/\n"
                  "https://orvanta.example/tessaly/\n\nVisit Orvanta web site for more "
                  "information and other interesting programs.");
        EXPECT_EQ(w.services.opened,
                  c.opens ? std::vector<std::string>{kMakerWebAddress} : std::vector<std::string>{})
            << c.answer;
    }
}

TEST(QtWindow, EitherPanelOfTheStatusBarOpensTheMakersAddress) {
    Desktop desktop;
    StartedWindow w(desktop.program.withSeparator());
    for (const QPoint at : {QPoint(20, 10), QPoint(300, 10)}) {
        QTest::mouseClick(&w.Get<QWidget>("StatusBar1"), Qt::LeftButton, {}, at);
    }
    EXPECT_EQ(w.services.opened, (std::vector<std::string>{kMakerWebAddress, kMakerWebAddress}));
}

TEST(QtWindow, TheYearFieldTypesClampsAndStepsByTheWindowRules) {
    enum class Then { Leave, UpKey, DownKey, UpButton, DownButton, Return };
    struct Case {
        const char* typed;
        Then then;
        const char* shown;
        int year;  // what a calendar would be made for
    };
    const Case cases[] = {
        {"19a5", Then::Leave, "1900", 1900},  // the letter is dropped; 195 clamps
        {"1800", Then::Leave, "1900", 1900},
        {"9999", Then::Leave, "2100", 2100},
        {"12.5", Then::Leave, "12.5", 1900},    // does not convert: stays as typed
        {"201234", Then::Leave, "2012", 2012},  // four characters at most
        {"2100", Then::UpKey, "2100", 2100},
        {"2100", Then::DownKey, "2099", 2099},
        {"2100", Then::UpButton, "2100", 2100},
        {"2100", Then::DownButton, "2099", 2099},
        {"x", Then::UpButton, "1901", 1901},
        {"2050", Then::Return, "2050", 2050},  // Enter is dropped, nothing is made
    };
    for (const auto& c : cases) {
        Desktop desktop;
        StartedWindow w(desktop.program.withSeparator());
        auto& field = w.Get<QLineEdit>("SpinEdit1");
        field.setFocus();
        field.selectAll();
        QTest::keyClick(&field, Qt::Key_Delete);
        QTest::keyClicks(&field, c.typed);
        switch (c.then) {
            case Then::Leave:
                QTest::keyClick(&field, Qt::Key_Tab);
                break;
            case Then::UpKey:
            case Then::DownKey:
                QTest::keyClick(&field, c.then == Then::UpKey ? Qt::Key_Up : Qt::Key_Down);
                break;
            case Then::UpButton:
            case Then::DownButton:
                // From another control: pressing a button brings the focus back.
                w.Get<QPushButton>("Button1").setFocus();
                QTest::mouseClick(
                    &w.Get<QWidget>(c.then == Then::UpButton ? "SpinEdit1Up" : "SpinEdit1Down"),
                    Qt::LeftButton);
                EXPECT_EQ(QApplication::focusWidget(), &field) << c.typed;
                break;
            case Then::Return:
                QTest::keyClick(&field, Qt::Key_Return);
                EXPECT_TRUE(w.services.opened.empty());
                break;
        }
        EXPECT_EQ(field.text().toStdString(), c.shown) << c.typed;
        EXPECT_EQ(w.window.Form().Request().year, c.year) << c.typed;
    }
}

TEST(QtWindow, HoldingAYearButtonRepeatsOnlyAfterTheDelay) {
    Desktop desktop;
    StartedWindow w(desktop.program.withSeparator());
    auto& field = w.Get<QLineEdit>("SpinEdit1");
    field.setFocus();
    field.selectAll();
    QTest::keyClicks(&field, "2000");
    auto& up = w.Get<QWidget>("SpinEdit1Up");
    QElapsedTimer held;
    held.start();
    QTest::mousePress(&up, Qt::LeftButton);
    QTest::qWait(150);
    // Only meaningful when the loop was not held up (timers may fire 5% early).
    if (held.elapsed() < 350) {
        EXPECT_EQ(field.text(), "2001");
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return field.text().toInt() >= 2003; }, 5000));
    QTest::mouseRelease(&up, Qt::LeftButton);
}

// As when the desktop session ends with the window open: the window is destroyed while
// shown, with the focus in the year field, and no handler may run on a half-gone window.
TEST(QtWindow, DestroyedWhileShownWithTheFocusInTheYearFieldRunsNoHandler) {
    Desktop desktop;
    auto w = std::make_unique<StartedWindow>(desktop.program.withSeparator());
    auto& field = w->Get<QLineEdit>("SpinEdit1");
    field.setFocus();
    field.selectAll();
    QTest::keyClicks(&field, "1800");
    ASSERT_TRUE(field.hasFocus() && w->window.isVisible());
    w.reset();
}

TEST(QtWindow, AStoreThatCannotBeWrittenShowsTheErrorAndTheWindowGoesOn) {
    test::TempFolder config;
    test::TempFolder program;
    // A regular file where the settings folder should be: even root cannot write there.
    test::WriteWholeFile(config.path() / "config", "");
    test::ConfigHome home((config.path() / "config").string());
    StartedWindow w(program.withSeparator());

    QString title, text;
    QMessageBox::Icon icon{};
    int buttons = 0;
    WhenModal([&](QWidget& dialog) {
        auto& box = dynamic_cast<QMessageBox&>(dialog);
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = static_cast<int>(box.buttons().size());
        box.button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(&w.Get<QCheckBox>("CheckBox3"), Qt::LeftButton);
    EXPECT_EQ(title, "Tessaly");
    EXPECT_EQ(text, "Failed to set data for 'PDF'");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);

    // The box keeps its tick and the next click makes the PDF.
    EXPECT_TRUE(w.Get<QCheckBox>("CheckBox3").isChecked());
    QTest::mouseClick(&w.Get<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(w.services.opened,
              std::vector<std::string>{program.withSeparator() + "calendar.pdf"});
}

}  // namespace
}  // namespace tessaly
