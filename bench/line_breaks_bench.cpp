#include <benchmark/benchmark.h>

#include "core/progress.h"
#include "sample_text.h"
#include "text/line_breaks.h"

namespace vernalith::bench {
namespace {

// Lines that hold no letter after one word: every line break looks back across all of them.
void RemoveExtraLineBreaksOnNumberLines(benchmark::State& state) {
    std::u16string text = u"слово";
    while (text.size() * 2 < static_cast<size_t>(state.range(0)) * kMB) text += u"\r\n12";
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(RemoveExtraLineBreaks(text, progress));
    SetTextBytes(state, text);
}

BENCHMARK(RunOnSampleText<RemoveHyphenation>)->Name("RemoveHyphenation")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(RunOnSampleText<RemoveExtraLineBreaks>)
    ->Name("RemoveExtraLineBreaks")
    ->Arg(1)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveExtraLineBreaksOnNumberLines)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
