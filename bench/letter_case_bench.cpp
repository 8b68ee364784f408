#include <benchmark/benchmark.h>

#include "core/progress.h"
#include "sample_text.h"
#include "text/letter_case.h"

namespace vernalith::bench {
namespace {

// Full stops and no letter until the end: every mark's forward scan would run on to the end.
void CapitalizeSentencesOnMarksOnly(benchmark::State& state) {
    std::u16string text(static_cast<size_t>(state.range(0)) * kMB / 2 - 2, u'.');
    text += u"ab";
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(CapitalizeSentences(text, progress));
    SetTextBytes(state, text);
}

BENCHMARK(RunOnSampleText<LowerCaseAll>)->Name("LowerCaseAll")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(RunOnSampleText<CapitalizeSentences>)
    ->Name("CapitalizeSentences")
    ->Arg(1)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CapitalizeSentencesOnMarksOnly)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
