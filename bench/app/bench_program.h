#pragma once

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

}  // namespace vernalith::bench
