#include "app/settings/settings_storage.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <utility>

#include "app/main_window.h"
#include "app/ui_services.h"
#include "settings/settings_files.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

std::string LocalPath(const QString& folder) { return QFile::encodeName(folder).toStdString(); }

QString MessageText(const SettingsFileError& error) { return QString::fromLocal8Bit(error.Message()); }

}  // namespace

QString DefaultSettingsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/vernalith");
}

SettingsStorage::SettingsStorage(MainWindow& main, QString folder) : main_(main), folder_(std::move(folder)) {}

bool SettingsStorage::Load() {
    // A fresh installation starts with the default files rather than an error box.
    if (!QDir(folder_).exists() && QDir().mkpath(folder_)) SaveSettingsFolder(LocalPath(folder_), SettingValues());

    const SettingsFolderContents contents = LoadSettingsFolder(LocalPath(folder_));
    for (const auto& [setting, value] : contents.values) main_.settings().Assign(setting, value);
    if (contents.error) main_.ui().ShowError(&main_, MessageText(*contents.error));
    return contents.complete;
}

bool SettingsStorage::SaveOnClose() {
    QDir().mkpath(folder_);  // in case it was removed while the program ran
    const std::optional<SettingsFileError> error = SaveSettingsFolder(LocalPath(folder_), main_.settings());
    if (!error) {
        lastSaveFailed_ = false;
        return true;
    }
    main_.ui().ShowError(&main_, MessageText(*error));
    const bool closeAnyway = lastSaveFailed_;
    lastSaveFailed_ = true;
    return closeAnyway;
}

}  // namespace vernalith
