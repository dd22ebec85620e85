#include <QApplication>
#include <QIcon>
#include <clocale>

#include "core/product.h"
#include "settings/settings_store_posix.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_platform_services.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt takes the user's locale for the whole process; numbers written into files
    // must not follow it.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QString::fromUtf8(tessaly::kProductName));
    QApplication::setOrganizationName(QString::fromUtf8(tessaly::kMakerName));
    QApplication::setApplicationVersion(QString::fromUtf8(tessaly::kVersionText));
    QApplication::setDesktopFileName(QStringLiteral("tessaly"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/tessaly/icons/tessaly-%1.png").arg(size));
    }
    QApplication::setWindowIcon(icon);

    tessaly::QtPlatformServices platform(
        std::make_unique<tessaly::SettingsFile>(tessaly::DefaultSettingsFilePath()));
    tessaly::MainWindow window(platform);
    platform.AttachWindow(window);
    window.show();
    return QApplication::exec();
}
