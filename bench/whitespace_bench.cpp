#include <benchmark/benchmark.h>

#include "core/progress.h"
#include "sample_text.h"
#include "text/whitespace.h"

namespace vernalith::bench {
namespace {

BENCHMARK(RunOnSampleText<RemoveExtraSpaces>)->Name("RemoveExtraSpaces")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(RunOnSampleText<RemoveEmptyLines>)->Name("RemoveEmptyLines")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
