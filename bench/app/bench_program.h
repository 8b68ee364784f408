#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "app/application.h"
#include "app/main_window.h"
#include "app/ui_services.h"
#include "core/random.h"

namespace vernalith::bench {

// Shows nothing: a benchmark never waits on a box or a browser.
class QuietUi : public UiServices {
public:
    void ShowMessage(QWidget*, const QString&) override {}
    void ShowError(QWidget*, const QString&) override {}
    void OpenUrl(const QString&) override {}
    FileDialogs& Files() override { return files; }
    DesktopFileDialogs files;
};

// The program's windows as at start-up, with settings in a temporary folder (never the user's own).
template <typename Ui = QuietUi>
struct ProgramWith {
    ProgramWith() : random(1) { windows = CreateApplicationWindows(ui, random, settings.filePath("settings")); }
    MainWindow& window() { return *windows->form1; }

    QTemporaryDir settings;
    Ui ui;
    SeededRandom random;
    std::unique_ptr<ApplicationWindows> windows;
};
using Program = ProgramWith<>;

// The main of a program benchmark: headless unless a platform is chosen, the application configured
// as at start-up, then every benchmark registered in the executable.
inline int RunProgramBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ConfigureApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace vernalith::bench
