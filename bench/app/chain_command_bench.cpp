// The whole "автоматическая обработка текста" command in the program with the default chain: its time
// and the longest stretch in which the window handled no events (so could not repaint). Stopping it is
// measured with the other commands in vernalith_responsiveness_bench.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <algorithm>

#include "app/application.h"
#include "app/bench_program.h"
#include "app/editor.h"
#include "app/event_gaps.h"
#include "app/main_window.h"
#include "app/ui_services.h"
#include "core/random.h"
#include "sample_text.h"

namespace vernalith::bench {
namespace {

// The whole command with the longest time the window could not repaint.
void ChainCommand(benchmark::State& state) {
    Program program;
    program.window().resize(1000, 700);
    program.window().show();
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    EventGaps gaps;
    double longestGapMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        program.window().editor()->ReplaceText(text);
        // The window has painted the text before the user clicks.
        QCoreApplication::processEvents();
        state.ResumeTiming();
        gaps.Start();
        program.window().action("ToolButton36")->trigger();
        longestGapMs = std::max(longestGapMs, gaps.Stop());
    }
    state.counters["longest_gap_ms"] = longestGapMs;
    SetTextBytes(state, text);
}

BENCHMARK(ChainCommand)->Name("GuiDefaultChainCommand")->Arg(16)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vernalith::bench
