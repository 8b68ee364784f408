#pragma once

#include <QString>

#include "app/document/file_dialogs.h"

class QWidget;

namespace vernalith {

// Message boxes, the browser and (later) file dialogs and the clipboard are reached through these
// small interfaces, so tests can replace them and read what the user would have been shown.
class UiServices {
public:
    virtual ~UiServices() = default;
    // A plain modal message box with one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // The application's error box for a command that failed.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // Asks the system to open a web address; reports nothing when it cannot.
    virtual void OpenUrl(const QString& url) = 0;
    // The open and save dialogs.
    virtual FileDialogs& Files() = 0;
};

// The real thing: QMessageBox and QDesktopServices.
class DesktopUiServices : public UiServices {
public:
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    void OpenUrl(const QString& url) override;
    FileDialogs& Files() override { return files_; }

private:
    DesktopFileDialogs files_;
};

}  // namespace vernalith
