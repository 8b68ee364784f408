#include <benchmark/benchmark.h>

#include "core/progress.h"
#include "sample_text.h"
#include "text/letter_case.h"

namespace vernalith::bench {
namespace {

template <std::u16string (*Procedure)(const std::u16string&, ProgressReporter&, int)>
void RunProcedure(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(Procedure(text, progress, StepCounter::kDefaultLimit));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}

// Full stops and no letter until the end: every mark's forward scan would run on to the end.
void CapitalizeSentencesOnMarksOnly(benchmark::State& state) {
    std::u16string text(static_cast<size_t>(state.range(0)) * kMB / 2 - 2, u'.');
    text += u"ab";
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(CapitalizeSentences(text, progress));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}

BENCHMARK(RunProcedure<LowerCaseAll>)->Name("LowerCaseAll")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(RunProcedure<CapitalizeSentences>)
    ->Name("CapitalizeSentences")
    ->Arg(1)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CapitalizeSentencesOnMarksOnly)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
