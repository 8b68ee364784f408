#include "app/document/document_commands.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <new>

#include "app/command_runner.h"
#include "app/document/document_files.h"
#include "app/document/highlighting.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/ui_services.h"
#include "app/worker_thread.h"

namespace vernalith {
namespace {

QString ShownName(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

// Sets the process's current folder back to what it was when the command started, however it ends.
class CurrentFolderKeeper {
public:
    CurrentFolderKeeper() : folder_(QDir::currentPath()) {}
    ~CurrentFolderKeeper() { QDir::setCurrent(folder_); }

private:
    QString folder_;
};

// The first local file among dropped items; empty when there is none.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

}  // namespace

DocumentCommands::DocumentCommands(MainWindow& main)
    : QObject(&main), main_(main), highlighting_(new Highlighting(main)) {
    setObjectName(QStringLiteral("DocumentCommands"));
    main_.SetHandler("N23Click", [this] { OpenDocument(); });
    main_.SetHandler("N24Click", [this] { SaveDocument(); });
    main_.SetHandler("ToolButton37Click", [this] { highlighting_->Toggle(); });
    const char* const chooseHandlers[] = {"N25Click", "css1Click", "htm1Click", "mysql1Click"};
    for (int i = 0; i < 4; ++i) {
        main_.SetHandler(chooseHandlers[i],
                         [this, i] { highlighting_->Choose(static_cast<Highlighting::Highlighter>(i)); });
    }
    // Files dragged from a file manager open; dragged text is still inserted by the editor itself.
    main_.setAcceptDrops(true);
    main_.installEventFilter(this);
    main_.editor()->viewport()->installEventFilter(this);
}

void DocumentCommands::OpenDocument() {
    const CurrentFolderKeeper folder;
    const QString path = main_.ui().Files().OpenFileName(&main_);
    if (!path.isEmpty()) LoadFile(path);
}

bool DocumentCommands::LoadFile(const QString& path) {
    QString problem;
    bool read = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The file is read, decoded and made into the editor's next document away from the window's
    // thread, so that the window answers while a large file comes in; the editor is locked meanwhile.
    main_.runner().RunLocked([&] {
        PreparedDocument document = main_.editor()->NewDocument();
        try {
            RunAwayFromWindow([&] {
                const std::optional<std::string> text = ReadDocumentFile(path, problem);
                if (!text) return;
                document.FillUtf8(*text);
                read = true;
            });
        } catch (const std::bad_alloc&) {
            // The text did not fit in memory: the editor keeps what it had.
            problem = OutOfMemoryProblem();
        }
        if (read) main_.editor()->Adopt(std::move(document));
    });
    QApplication::restoreOverrideCursor();
    if (!read) {
        main_.ui().ShowError(&main_, QStringLiteral("Cannot open file \"%1\". %2").arg(ShownName(path), problem));
        return false;
    }
    return true;
}

void DocumentCommands::SaveDocument() {
    const CurrentFolderKeeper folder;
    const QString path = main_.ui().Files().SaveFileName(&main_, encoding_);
    if (path.isEmpty()) return;
    QString problem;
    bool saved = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Converted and written away from the window's thread, the editor locked so its text stays put.
    main_.runner().RunLocked([&] {
        const std::string_view text = main_.editor()->Utf8Text();
        RunAwayFromWindow([&] { saved = WriteDocumentFile(path, text, encoding_, problem); });
    });
    QApplication::restoreOverrideCursor();
    if (saved) return;
    if (encoding_ == SaveEncoding::Ansi) {
        main_.ui().ShowError(&main_, QStringLiteral("Cannot create file \"%1\". %2").arg(ShownName(path), problem));
    } else {
        main_.ui().ShowMessage(&main_, QStringLiteral("Неудалось создать файл"));
    }
}

bool DocumentCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!DroppedFile(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedFile(drop->mimeData());
        if (!path.isEmpty()) {
            drop->acceptProposedAction();
            // Opening replaces the text: not while a command works on it.
            if (!main_.runner().Busy()) LoadFile(path);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

DocumentCommands& AttachDocumentCommands(MainWindow& main) { return *new DocumentCommands(main); }

void OpenDocumentFile(MainWindow& main, const QString& path) {
    if (auto* commands = main.findChild<DocumentCommands*>(QStringLiteral("DocumentCommands"))) {
        commands->LoadFile(path);
    }
}

}  // namespace vernalith
