#include <QApplication>
#include <QScreen>
#include <random>

#include "app/application.h"
#include "app/main_window.h"
#include "app/ui_services.h"
#include "core/random.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vernalith::ConfigureApplication(app);
    vernalith::DesktopUiServices ui;
    // The process's one generator, seeded once at start-up.
    std::random_device device;
    vernalith::SeededRandom random((uint64_t{device()} << 32) | device());
    auto windows = vernalith::CreateApplicationWindows(ui, random);
    // Fill the screen even where no window manager honours the maximized state, then maximize.
    windows->form1->setGeometry(windows->form1->screen()->availableGeometry());
    windows->form1->showMaximized();
    return app.exec();
}
