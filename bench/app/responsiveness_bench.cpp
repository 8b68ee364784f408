// How long the window's thread goes without handling events while a whole-text command runs, from the
// click to the result in the editor; how soon a press of "остановить" ends a run; the worker's steps
// around the procedure; and the one step left on the window's thread, the editor taking a document
// built away from it.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "app/application.h"
#include "app/bench_program.h"
#include "app/editor.h"
#include "app/event_gaps.h"
#include "app/main_window.h"
#include "app/progress_panel.h"
#include "app/ui_services.h"
#include "core/random.h"
#include "sample_text.h"

namespace vernalith::bench {
namespace {

// Runs a command by its control and records the longest time between two turns of the event loop.
void CommandGaps(benchmark::State& state, const char* control) {
    Program program;
    MainWindow& window = program.window();
    window.resize(1000, 700);
    window.show();
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    EventGaps gaps;
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.editor()->ReplaceText(text);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        gaps.Start();
        window.action(control)->trigger();
        longest = std::max(longest, gaps.Stop());
    }
    state.counters["longest_gap_ms"] = longest;
    SetTextBytes(state, text);
}

// "остановить" pressed `pressAtMs` into a run of the command (the press is due then and handled at the
// window's next turn of its event loop): the time from then to the end of the command, the text left
// as it was. A single command offers the button once it has run half a second.
void StopCommand(benchmark::State& state, const char* control, int pressAtMs) {
    Program program;
    MainWindow& window = program.window();
    window.resize(1000, 700);
    window.show();
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    double worstStopMs = 0;
    for (auto _ : state) {
        window.editor()->ReplaceText(text);
        const std::u16string before = window.editor()->Text();
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        QTimer::singleShot(std::chrono::milliseconds(pressAtMs), Qt::PreciseTimer, &window,
                           [&] { window.progressPanel()->stopButton()->click(); });
        clock.start();
        window.action(control)->trigger();
        const double stopMs = clock.nsecsElapsed() / 1e6 - pressAtMs;
        if (window.editor()->Text() != before) state.SkipWithError("the stop did not keep the text");
        worstStopMs = std::max(worstStopMs, stopMs);
        state.SetIterationTime(stopMs / 1e3);
    }
    state.counters["worst_stop_ms"] = worstStopMs;
}

void EditorAdopt(benchmark::State& state) {
    Editor editor;
    editor.show();
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    for (auto _ : state) {
        state.PauseTiming();
        PreparedDocument document = editor.NewDocument();
        document.Fill(text);
        state.ResumeTiming();
        editor.Adopt(std::move(document));
        QCoreApplication::processEvents();
    }
    SetTextBytes(state, text);
}

// The step a command's worker takes after the procedure: building the next editor document from the
// result. (Reading the editor's text before it is `EditorRead` in vernalith_gui_bench.)
void WorkerBuildsDocument(benchmark::State& state) {
    Editor editor;
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    for (auto _ : state) {
        PreparedDocument document = editor.NewDocument();
        document.Fill(text);
        state.PauseTiming();
        document = PreparedDocument();
        state.ResumeTiming();
    }
    SetTextBytes(state, text);
}

BENCHMARK(WorkerBuildsDocument)->Arg(16)->Arg(100)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CommandGaps, RemoveExtraSpaces, "ToolButton22")
    ->Arg(16)
    ->Arg(100)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CommandGaps, SortLines, "ToolButton60")
    ->Arg(16)
    ->Arg(100)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopCommand, DefaultChain, "ToolButton36", 300)
    ->Arg(16)
    ->Arg(100)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopCommand, SortLines, "ToolButton60", 700)
    ->Arg(100)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(EditorAdopt)->Arg(16)->Arg(100)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench

int main(int argc, char** argv) { return vernalith::bench::RunProgramBenchmarks(argc, argv); }
