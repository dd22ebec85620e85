#include <QApplication>
#include <QIcon>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/product.h"
#include "settings/settings_store_posix.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_platform_services.h"

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Whether Qt has somewhere to show the window. Without, it would abort with advice to
// reinstall; a platform asked for by name (offscreen, vnc) is Qt's to judge.
bool HasDisplay(int argc, char** argv) {
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "-platform") == 0 || std::strcmp(argv[k], "--platform") == 0) {
            return true;
        }
    }
    return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay(argc, argv)) {
        std::fputs(
            "tessaly: no display (DISPLAY and WAYLAND_DISPLAY are unset); tessaly-cli "
            "makes calendars without one\n",
            stderr);
        return 1;
    }
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
