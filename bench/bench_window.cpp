// "Create and view" in the Qt window, from the click to the file written, on the
// offscreen platform. The viewer is not started: opening is recorded and not counted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "settings/settings_store_posix.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_platform_services.h"

namespace {

using namespace tessaly;

class NoViewerServices : public QtPlatformServices {
  public:
    explicit NoViewerServices(std::string folder)
        : QtPlatformServices(std::make_unique<SettingsFile>(folder + "Tessaly.conf")),
          folder_(std::move(folder)) {}

    int opened = 0;
    std::string lastOpened;
    void OpenWithDefaultHandler(const std::string& target) override {
        ++opened;
        lastOpened = target;
    }
    std::string ProgramFolder() override { return folder_; }
    std::optional<std::string> DocumentsFolder() override { return std::nullopt; }

  private:
    std::string folder_;
};

void ClickCreateAndView(benchmark::State& state, bool pdf) {
    const auto folder = std::filesystem::temp_directory_path() / "tessaly-bench-window";
    std::filesystem::create_directories(folder);
    NoViewerServices services(folder.string() + "/");
    MainWindow window(services);
    services.AttachWindow(window);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("the window is not shown");
        return;
    }
    auto* weekendsBox = window.findChild<QCheckBox*>(QStringLiteral("CheckBox1"));
    auto* pdfBox = window.findChild<QCheckBox*>(QStringLiteral("CheckBox3"));
    auto* button = window.findChild<QPushButton*>(QStringLiteral("Button1"));
    if (weekendsBox == nullptr || pdfBox == nullptr || button == nullptr) {
        state.SkipWithError("no weekend or PDF box, or no Create and view button");
        return;
    }
    // Weekends shaded, as in the in-process benchmarks; clicked as a user would, for
    // the window hears clicks, not changes of state.
    for (auto [box, wanted] : {std::pair{weekendsBox, true}, std::pair{pdfBox, pdf}}) {
        if (box->isChecked() != wanted) {
            QTest::mouseClick(box, Qt::LeftButton);
        }
    }
    QApplication::processEvents();
    for (auto _ : state) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    const std::string expected = folder.string() + (pdf ? "/calendar.pdf" : "/calendar.html");
    if (services.opened != static_cast<int>(state.iterations()) ||
        services.lastOpened != expected) {
        state.SkipWithError("a click made no file, or not the one asked for");
    }
    std::filesystem::remove_all(folder);
}

void BM_WindowCreateAndViewHtml(benchmark::State& state) {
    ClickCreateAndView(state, false);
}
BENCHMARK(BM_WindowCreateAndViewHtml)->Unit(benchmark::kMicrosecond);

void BM_WindowCreateAndViewPdf(benchmark::State& state) {
    ClickCreateAndView(state, true);
}
BENCHMARK(BM_WindowCreateAndViewPdf)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // No display needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
