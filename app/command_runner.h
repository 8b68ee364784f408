#pragma once

#include <functional>
#include <string>

#include "core/procedure_context.h"

class QAction;
class QWidget;

namespace vernalith {

class Editor;
class UiServices;
class WindowProgress;

// Where a procedure runs: on the window's thread, letting events through at its progress points, or
// on a worker thread while the window's thread goes on handling events. Only a procedure that touches
// nothing but its text, its context and its settings may run on a worker: it then gets a copy of the
// settings taken when it starts.
enum class RunThread { Window, Worker };

struct RunOptions {
    RunThread thread = RunThread::Window;
    bool stopOfferedAtOnce = false;  // else the stop button shows once the run has gone on a while
};

// The processing protocol of the text commands: the command wrapper, the one-level undo and the busy
// state that locks the editor and the other text commands while one runs.
class CommandRunner {
public:
    using Procedure = std::function<std::u16string(const std::u16string&, ProcedureContext&)>;
    using Thread = RunThread;

    // `stateChanged` runs whenever the busy state or the undo availability changes, so the window can
    // enable and disable its controls.
    CommandRunner(QWidget& window, Editor& editor, UiServices& ui, const SettingsSource& settings,
                  WindowProgress& progress, RandomSource& random, std::function<void()> stateChanged);

    // The command wrapper: disables `button`, stores the editor text as the undo snapshot, enables
    // undo, runs `procedure` on the text and replaces the editor text by the result, enables
    // `button` again. While the procedure runs the editor is read-only and no other text command
    // can start. A failure is shown in the error box and leaves the editor text as it was; so does a
    // stop by the user, without a box. Returns when the command has ended, on either thread.
    void WholeTextCommand(QAction* button, const Procedure& procedure, bool pumpFirst, RunOptions options = {});

    // Runs a text command's work guarded as the wrapper does: `button` disabled and the editor and
    // the other text commands locked while `work` runs, the stop offered as above; a failure is
    // shown in the error box.
    void RunTextCommand(QAction* button, const std::function<void()>& work, bool stopOfferedAtOnce = false);

    // Runs `work` with the editor read-only and the text commands locked, as while a command runs
    // (already so when a command is running): for work that reads or replaces the whole text away
    // from the window's thread without being a text command itself.
    void RunLocked(const std::function<void()>& work);
    // One-level undo.
    void TakeUndoSnapshot();
    bool UndoAvailable() const { return undoAvailable_; }
    const std::u16string& UndoSnapshot() const { return undoSnapshot_; }
    void UndoLastCommand();
    void UndoHotKey();
    // The editor's change notification: the snapshot may no longer be put back.
    void DropUndo();

    bool Busy() const { return busy_; }

private:
    void SetBusy(bool busy);
    // The wrapper's steps 2 to 5 with the procedure, the text's decoding and the new document's
    // building on a worker thread; the window's thread handles events until they are done.
    void RunOnWorker(const Procedure& procedure);

    QWidget& window_;
    Editor& editor_;
    UiServices& ui_;
    WindowProgress& progress_;
    ProcedureContext context_;
    std::function<void()> stateChanged_;
    std::u16string undoSnapshot_;
    bool undoAvailable_ = false;
    bool busy_ = false;
};

}  // namespace vernalith
