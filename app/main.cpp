#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>

#include "app/application.h"
#include "app/document/document_commands.h"
#include "app/main_window.h"
#include "app/settings/settings_storage.h"
#include "app/ui_services.h"
#include "core/random.h"

namespace {

// The program's own picture at every size the icon theme has, for the window and the task bar.
QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1x%1/apps/vernalith.png").arg(size), QSize(size, size));
    }
    return icon;
}

// The settings folder given by `--settings-dir DIR` (or `--settings-dir=DIR`), the per-user one when
// none is; nullopt, after a message, when the option has no folder. Other arguments are left alone.
std::optional<QString> SettingsFolderArgument(const QStringList& arguments) {
    QString folder = vernalith::DefaultSettingsFolder();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        std::optional<QString> given;
        if (argument == QLatin1String("--settings-dir")) {
            given = i + 1 < arguments.size() ? arguments[++i] : QString();
        } else if (argument.startsWith(QLatin1String("--settings-dir="))) {
            given = argument.mid(qsizetype(sizeof "--settings-dir=") - 1);
        }
        if (!given) continue;
        if (given->isEmpty()) {
            std::fprintf(stderr, "vernalith: --settings-dir needs a folder\n");
            return std::nullopt;
        }
        folder = *given;
    }
    return folder;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before the application object exists, so that it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("vernalith %s\n", VERNALITH_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    const std::optional<QString> settingsFolder = SettingsFolderArgument(QApplication::arguments());
    if (!settingsFolder) return 2;
    vernalith::ConfigureApplication(app);
    QApplication::setWindowIcon(ApplicationIcon());
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vernalith"));
    vernalith::DesktopUiServices ui;
    // The process's one generator, seeded once at start-up.
    std::random_device device;
    vernalith::SeededRandom random((uint64_t{device()} << 32) | device());
    auto windows = vernalith::CreateApplicationWindows(ui, random, *settingsFolder);
    // Fill the screen even where no window manager honours the maximized state, then maximize.
    windows->form1->setGeometry(windows->form1->screen()->availableGeometry());
    windows->form1->showMaximized();
    // A file named on the command line opens once the window is up and its settings are loaded.
    if (argc >= 2) {
        const QString file = QString::fromLocal8Bit(argv[1]);
        vernalith::MainWindow* main = windows->form1.get();
        QTimer::singleShot(0, main, [main, file] { vernalith::OpenDocumentFile(*main, file); });
    }
    return app.exec();
}
