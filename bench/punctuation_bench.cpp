#include <benchmark/benchmark.h>

#include "core/progress.h"
#include "sample_text.h"
#include "text/punctuation.h"

namespace vernalith::bench {
namespace {

void RemoveRepeatedPunctuationBench(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(RemoveRepeatedPunctuation(text, progress));
    SetTextBytes(state, text);
}

// Lines without letters: the scan from every line feed runs on to the one word at the end.
void RemoveRepeatedPunctuationOnLinesWithoutLetters(benchmark::State& state) {
    std::u16string text;
    while (text.size() * 2 < static_cast<size_t>(state.range(0)) * kMB) text += u"1.,2;\r\n";
    text += u"конец";
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(RemoveRepeatedPunctuation(text, progress));
    SetTextBytes(state, text);
}

BENCHMARK(RemoveRepeatedPunctuationBench)
    ->Name("RemoveRepeatedPunctuation")
    ->Arg(1)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveRepeatedPunctuationOnLinesWithoutLetters)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
