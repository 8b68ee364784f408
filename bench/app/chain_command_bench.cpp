// The whole "автоматическая обработка текста" command in the program with the default chain: its time,
// the longest stretch in which the window handled no events (so could not repaint), and the time from
// a press of "остановить" to the end of the run.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "app/bench_program.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/ui_services.h"
#include "core/random.h"
#include "sample_text.h"

namespace vernalith::bench {
namespace {

// A timer ticking every 5 ms while the chain runs: the longest gap between its ticks is the longest
// time the window could not repaint. VERNALITH_BENCH_GAPS=1 lists every gap over 40 ms with the
// status caption and gauge at its end, to find the step that caused it.
void ChainCommand(benchmark::State& state) {
    Program program;
    program.window().show();
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    double longestGapMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        program.window().editor()->ReplaceText(text);
        // The window has painted the text before the user clicks.
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        qint64 lastTick = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, &program.window(), [&] {
            const qint64 now = clock.nsecsElapsed();
            longestGapMs = std::max(longestGapMs, (now - lastTick) / 1e6);
            if (getenv("VERNALITH_BENCH_GAPS") && now - lastTick > 40000000)
                fprintf(stderr, "gap %.1f ms at %.0f ms: %s g2=%d\n", (now - lastTick) / 1e6, now / 1e6,
                        qPrintable(program.window().progressPanel()->caption()->text()),
                        program.window().progressPanel()->gauge2()->value());
            lastTick = now;
        });
        ticker.start(5);
        clock.start();
        state.ResumeTiming();
        program.window().action("ToolButton36")->trigger();
        // The command's end counts as a repaint: the stretch since the last tick holds the editor
        // taking in the result.
        longestGapMs = std::max(longestGapMs, (clock.nsecsElapsed() - lastTick) / 1e6);
        if (getenv("VERNALITH_BENCH_GAPS"))
            fprintf(stderr, "end gap %.1f ms\n", (clock.nsecsElapsed() - lastTick) / 1e6);
    }
    state.counters["longest_gap_ms"] = longestGapMs;
    SetTextBytes(state, text);
}

// "остановить" pressed 300 ms into the run (the press is due then; it is handled at the next event
// pump): the time from then to the end of the command.
void StopChainCommand(benchmark::State& state) {
    Program program;
    program.window().show();
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    constexpr qint64 kPressAtMs = 300;
    double worstStopMs = 0;
    for (auto _ : state) {
        program.window().editor()->ReplaceText(text);
        // The window has painted the text before the user clicks.
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        QTimer::singleShot(std::chrono::milliseconds(kPressAtMs), Qt::PreciseTimer, &program.window(),
                           [&] { program.window().progressPanel()->stopButton()->click(); });
        clock.start();
        program.window().action("ToolButton36")->trigger();
        const double stopMs = clock.nsecsElapsed() / 1e6 - kPressAtMs;
        worstStopMs = std::max(worstStopMs, stopMs);
        state.SetIterationTime(stopMs / 1e3);
    }
    state.counters["worst_stop_ms"] = worstStopMs;
}

BENCHMARK(ChainCommand)->Name("GuiDefaultChainCommand")->Arg(16)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(StopChainCommand)
    ->Name("GuiDefaultChainStop")
    ->Arg(16)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace vernalith::bench
