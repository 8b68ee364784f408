#include "app/command_runner.h"

#include <QAction>
#include <QCoreApplication>

#include "app/command_failure.h"
#include "app/editor.h"
#include "app/progress_panel.h"
#include "app/ui_services.h"

namespace vernalith {

CommandRunner::CommandRunner(QWidget& window, Editor& editor, UiServices& ui, const SettingsSource& settings,
                             WindowProgress& progress, RandomSource& random, std::function<void()> stateChanged)
    : window_(window),
      editor_(editor),
      ui_(ui),
      progress_(progress),
      context_{settings, progress, random},
      stateChanged_(std::move(stateChanged)) {}

void CommandRunner::WholeTextCommand(QAction* button, const Procedure& procedure, bool pumpFirst,
                                     bool stopOfferedAtOnce) {
    RunTextCommand(
        button,
        [&] {
            if (pumpFirst) QCoreApplication::processEvents();
            TakeUndoSnapshot();
            const std::u16string result = procedure(undoSnapshot_, context_);
            editor_.ReplaceText(result);
        },
        stopOfferedAtOnce);
}

void CommandRunner::RunTextCommand(QAction* button, const std::function<void()>& work, bool stopOfferedAtOnce) {
    if (busy_) return;
    if (button) button->setEnabled(false);
    SetBusy(true);
    progress_.BeginRun(stopOfferedAtOnce);
    const QString failure = RunCatchingFailure(work);
    progress_.EndRun();
    SetBusy(false);
    if (button) button->setEnabled(true);
    if (!failure.isEmpty()) ui_.ShowError(&window_, failure);
}

void CommandRunner::TakeUndoSnapshot() {
    // The snapshot is the editor text exactly, so undo gives back exactly what was there.
    undoSnapshot_ = editor_.Text();
    undoAvailable_ = true;
    stateChanged_();
}

void CommandRunner::UndoLastCommand() {
    if (!undoAvailable_ || busy_) return;
    editor_.ReplaceText(undoSnapshot_);
    undoAvailable_ = false;
    stateChanged_();
}

void CommandRunner::UndoHotKey() {
    if (busy_) return;
    if (undoAvailable_) UndoLastCommand();
    undoAvailable_ = false;
    stateChanged_();
}

void CommandRunner::DropUndo() {
    undoAvailable_ = false;
    stateChanged_();
}

void CommandRunner::SetBusy(bool busy) {
    busy_ = busy;
    editor_.SetBusy(busy);
    stateChanged_();
}

}  // namespace vernalith
