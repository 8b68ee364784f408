#pragma once

#include <QString>

namespace vernalith {

class MainWindow;

// The per-user settings folder (`~/.config/vernalith`, following XDG_CONFIG_HOME).
QString DefaultSettingsFolder();

// Keeps the settings in the five settings files of one folder: loads them into the windows' fields
// when the main window is first shown and writes them back when it closes.
class SettingsStorage {
public:
    SettingsStorage(MainWindow& main, QString folder);

    const QString& folder() const { return folder_; }

    // On the first start (no folder yet) creates the folder with the default files, then loads the
    // files into the fields in order, showing the error that stopped loading, if any. True when every
    // file was loaded in full.
    bool Load();
    // Writes the fields to the files. False, after showing the error, when a list file cannot be
    // written: the window then stays open, so the user learns the settings were not saved; but a
    // second close in a row closes all the same, so that an unwritable folder never keeps the program open.
    bool SaveOnClose();

private:
    MainWindow& main_;
    QString folder_;
    bool lastSaveFailed_ = false;
};

}  // namespace vernalith
