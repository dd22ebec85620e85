#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/scoped_env.h"
#include "support/test_files.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_platform_services.h"

namespace tessaly::test {

// XDG_CONFIG_HOME pointed at `folder` while the object lives.
class ConfigHome : public ScopedEnv {
  public:
    explicit ConfigHome(const std::string& folder) : ScopedEnv("XDG_CONFIG_HOME", folder) {}
};

// The program's own services, settings file included, except that whatever the
// desktop would open is recorded and the program's folder is a test folder.
class RecordingServices : public QtPlatformServices {
  public:
    explicit RecordingServices(std::string programFolder);

    std::vector<std::string> opened;

    void OpenWithDefaultHandler(const std::string& target) override { opened.push_back(target); }
    std::string ProgramFolder() override { return programFolder_; }
    std::optional<std::string> DocumentsFolder() override { return std::nullopt; }

  private:
    std::string programFolder_;
};

// The window as the program starts it: created, shown and active.
struct StartedWindow {
    explicit StartedWindow(const std::string& programFolder);
    ~StartedWindow();

    template <class Widget>
    Widget& Get(const char* name) {
        auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *widget;
    }

    RecordingServices services;
    MainWindow window{services};
    QTimer strayDialogGuard;
};

// Answers the next modal dialog as a user would; the test fails when none comes.
void WhenModal(std::function<void(QWidget& dialog)> answer);

}  // namespace tessaly::test
