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

// The processing protocol of the text commands: the command wrapper, the one-level undo and the busy
// state that locks the editor and the other text commands while one runs.
class CommandRunner {
public:
    using Procedure = std::function<std::u16string(const std::u16string&, ProcedureContext&)>;

    // `stateChanged` runs whenever the busy state or the undo availability changes, so the window can
    // enable and disable its controls.
    CommandRunner(QWidget& window, Editor& editor, UiServices& ui, const SettingsSource& settings,
                  WindowProgress& progress, RandomSource& random, std::function<void()> stateChanged);

    // The command wrapper: disables `button`, stores the editor text as the undo snapshot, enables
    // undo, runs `procedure` on the text and replaces the editor text by the result, enables
    // `button` again. While the procedure runs the editor is read-only and no other text command
    // can start. A failure is shown in the error box and leaves the editor text as it was; so does a
    // stop by the user, without a box. The stop button is offered at once when `stopOfferedAtOnce`,
    // otherwise once the command has run for a while.
    void WholeTextCommand(QAction* button, const Procedure& procedure, bool pumpFirst, bool stopOfferedAtOnce = false);

    // Runs a text command's work guarded as the wrapper does: `button` disabled and the editor and
    // the other text commands locked while `work` runs, the stop offered as above; a failure is
    // shown in the error box.
    void RunTextCommand(QAction* button, const std::function<void()>& work, bool stopOfferedAtOnce = false);

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
