// The default procedure chain over the sample text, in memory.
#include <benchmark/benchmark.h>

#include "automatic/chain.h"
#include "automatic/procedure_table.h"
#include "core/random.h"
#include "sample_text.h"
#include "settings/settings_table.h"

namespace vernalith::bench {
namespace {

void DefaultChain(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    const FixedChain chain(DefaultProcedureChain());
    SettingValues settings;
    SilentProgress progress;
    SeededRandom random(1);
    ProcedureContext context{settings, progress, random};
    for (auto _ : state) benchmark::DoNotOptimize(automatic(text, chain, context));
    SetTextBytes(state, text);
}

BENCHMARK(DefaultChain)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
