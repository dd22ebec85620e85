#include "window_harness.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>
#include <cstdlib>

#include "settings/settings_store_posix.h"

namespace tessaly::test {

RecordingServices::RecordingServices(std::string programFolder)
    : QtPlatformServices(std::make_unique<SettingsFile>(DefaultSettingsFilePath())),
      programFolder_(std::move(programFolder)) {}

StartedWindow::StartedWindow(const std::string& programFolder) : services(programFolder) {
    // A dialog nobody answers would hang the test: fail and close it instead.
    strayDialogGuard.setInterval(3000);
    QObject::connect(&strayDialogGuard, &QTimer::timeout, [seen = QPointer<QWidget>()]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal == seen) {
            ADD_FAILURE() << "unanswered dialog " << modal->windowTitle().toStdString();
            modal->close();
        }
        seen = modal;
    });
    strayDialogGuard.start();
    services.AttachWindow(window);
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    QCoreApplication::processEvents();  // the first activation's handler
}

StartedWindow::~StartedWindow() = default;

void WhenModal(std::function<void(QWidget& dialog)> answer) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, answer = std::move(answer)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            answer(*modal);
        } else if (++*tries > 250) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no dialog came";
        }
    });
    poll->start(20);
}

}  // namespace tessaly::test
