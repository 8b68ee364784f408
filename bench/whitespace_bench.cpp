#include <benchmark/benchmark.h>

#include "core/progress.h"
#include "sample_text.h"
#include "text/whitespace.h"

namespace vernalith::bench {
namespace {

template <std::u16string (*Procedure)(const std::u16string&, ProgressReporter&, int)>
void RunProcedure(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(Procedure(text, progress, StepCounter::kDefaultLimit));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}

BENCHMARK(RunProcedure<RemoveExtraSpaces>)->Name("RemoveExtraSpaces")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(RunProcedure<RemoveEmptyLines>)->Name("RemoveEmptyLines")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
