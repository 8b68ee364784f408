#include "app/command_runner.h"

#include <QAction>
#include <QCoreApplication>
#include <QScopeGuard>
#include <QTimer>
#include <exception>

#include "app/command_failure.h"
#include "app/editor.h"
#include "app/progress_panel.h"
#include "app/threaded_progress.h"
#include "app/ui_services.h"
#include "app/worker_thread.h"
#include "core/fast_transcode.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

// How often the window shows a worker's reports: often enough to look live, rarely enough to cost
// nothing.
constexpr int kReportIntervalMs = 15;

}  // namespace

CommandRunner::CommandRunner(QWidget& window, Editor& editor, UiServices& ui, const SettingsSource& settings,
                             WindowProgress& progress, RandomSource& random, std::function<void()> stateChanged)
    : window_(window),
      editor_(editor),
      ui_(ui),
      progress_(progress),
      context_{settings, progress, random},
      stateChanged_(std::move(stateChanged)) {}

void CommandRunner::WholeTextCommand(QAction* button, const Procedure& procedure, bool pumpFirst, RunOptions options) {
    RunTextCommand(
        button,
        [&] {
            if (pumpFirst) QCoreApplication::processEvents();
            if (options.thread == Thread::Worker) {
                RunOnWorker(procedure);
                return;
            }
            TakeUndoSnapshot();
            const std::u16string result = procedure(undoSnapshot_, context_);
            editor_.ReplaceText(result);
        },
        options.stopOfferedAtOnce);
}

void CommandRunner::RunOnWorker(const Procedure& procedure) {
    // Undo is enabled now, as the wrapper does; the snapshot text itself is decoded on the worker
    // (the undo button and F4 stay locked until the command ends).
    undoSnapshot_.clear();
    undoAvailable_ = true;
    stateChanged_();
    const SettingValues settings = CopyOfSettings(context_.settings);
    ThreadedProgress progress(progress_, progress_.StopFlag());
    ProcedureContext context{settings, progress, context_.random};
    PreparedDocument document = editor_.NewDocument();
    // The editor is read-only while the command runs, so its text stays where it is.
    const std::string_view source = editor_.Utf8Text();
    // The window's thread shows the worker's reports and offers the stop button as time goes on.
    QTimer reports;
    QObject::connect(&reports, &QTimer::timeout, &reports, [&] {
        progress.Drain();
        progress_.OfferStopIfLong();
    });
    reports.start(kReportIntervalMs);
    std::exception_ptr failure;
    try {
        // Should the window's event loop end first (the window closed), the procedure is stopped at its
        // next progress point rather than left to run to its end while the window's thread waits.
        RunAwayFromWindow(
            [&] {
                undoSnapshot_ = *FastDecodeUtf8(source, /*strict=*/false, /*editorBreaks=*/false);
                document.Fill(procedure(undoSnapshot_, context));
            },
            [&] { progress_.RequestStop(); });
    } catch (...) {
        failure = std::current_exception();
    }
    reports.stop();
    progress.Drain();
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const RunCancelled&) {
            progress_.ClearStop();
            progress_.ShowStopped();
            throw;
        }
    }
    editor_.Adopt(std::move(document));
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

void CommandRunner::RunLocked(const std::function<void()>& work) {
    if (busy_) {
        work();
        return;
    }
    SetBusy(true);
    const auto unlock = qScopeGuard([&] { SetBusy(false); });
    work();
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
