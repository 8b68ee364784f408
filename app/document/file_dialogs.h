#pragma once

#include <QString>

class QWidget;

namespace vernalith {

// The two encodings a document is saved in.
enum class SaveEncoding { Ansi, Utf8 };

// The open and save dialogs, behind an interface so that tests answer them without a modal loop.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The open dialog; the chosen file, or an empty string when the user cancels.
    virtual QString OpenFileName(QWidget* parent) = 0;
    // The save dialog, showing `encoding` selected; the chosen file, or an empty string when the user
    // cancels. `encoding` is left as the user selected it when the dialog closed, also on cancel.
    virtual QString SaveFileName(QWidget* parent, SaveEncoding& encoding) = 0;
};

// Qt's own file dialogs (not the platform's, so that the encoding list can sit in the save dialog).
class DesktopFileDialogs : public FileDialogs {
public:
    QString OpenFileName(QWidget* parent) override;
    QString SaveFileName(QWidget* parent, SaveEncoding& encoding) override;
};

}  // namespace vernalith
