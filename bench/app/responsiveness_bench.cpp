// How long the window's thread goes without handling events while a whole-text command runs: a timer
// that fires whenever the event loop is free records the longest gap between two of its ticks, from
// the click to the result in the editor. Also the editor's own steps on the window's thread: taking a
// document built away from it, and the old way of replacing the text in one append.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "app/application.h"
#include "app/bench_program.h"
#include "app/editor.h"
#include "app/main_window.h"
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
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.editor()->ReplaceText(text);
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 gap = 0;
        QTimer ticker;
        ticker.setInterval(0);
        QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
            const qint64 now = clock.nsecsElapsed();
            gap = std::max(gap, now - last);
            last = now;
        });
        state.ResumeTiming();
        clock.start();
        ticker.start();
        window.action(control)->trigger();
        // The gap from the last tick to the command's end counts too.
        gap = std::max(gap, clock.nsecsElapsed() - last);
        ticker.stop();
        longest = std::max(longest, gap / 1e6);
    }
    state.counters["longest_gap_ms"] = longest;
    SetTextBytes(state, text);
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
BENCHMARK(EditorAdopt)->Arg(16)->Arg(100)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench

int main(int argc, char** argv) { return vernalith::bench::RunProgramBenchmarks(argc, argv); }
