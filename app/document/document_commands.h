#pragma once

#include <QObject>
#include <QString>

#include "app/document/file_dialogs.h"

namespace vernalith {

class Highlighting;
class MainWindow;

// The editor's document commands: "открыть как..." (`OpenDocument`), "сохранить как..."
// (`SaveDocument`), the highlighting button and its four menu items; files dropped onto the editor.
class DocumentCommands : public QObject {
    Q_OBJECT

public:
    explicit DocumentCommands(MainWindow& main);

    void OpenDocument();
    void SaveDocument();
    // The loading step of OpenDocument: reads the file into the editor, or shows the open error box
    // and leaves the editor as it was. True when the file was loaded.
    bool LoadFile(const QString& path);

    Highlighting& highlighting() { return *highlighting_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    MainWindow& main_;
    Highlighting* highlighting_;
    // The save dialog's encoding, kept for the run.
    SaveEncoding encoding_ = SaveEncoding::Ansi;
};

// Attaches the document commands to the main window's controls.
DocumentCommands& AttachDocumentCommands(MainWindow& main);

// Opens a file as "открыть как..." does once a file is chosen (a file named at start, one dropped).
void OpenDocumentFile(MainWindow& main, const QString& path);

}  // namespace vernalith
