#include <benchmark/benchmark.h>

#include "core/progress.h"
#include "sample_text.h"
#include "text/footnotes.h"
#include "text/line_list_operations.h"

namespace vernalith::bench {
namespace {

// Range 0 is the text's size in MB; with range 1 set to 1 it is the number of lines in millions.
std::u16string Input(const benchmark::State& state) {
    const auto size = static_cast<size_t>(state.range(0));
    return state.range(1) == 1 ? SampleLines(size * 1000000) : SampleText(size * kMB);
}

template <typename Run>
void Measure(benchmark::State& state, Run run) {
    const std::u16string text = Input(state);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(run(text, progress));
    SetTextBytes(state, text);
}

void SortLinesBench(benchmark::State& state) {
    Measure(state, [](const std::u16string& text, ProgressReporter& progress) { return SortLines(text, "ru_RU", progress); });
}

void RemoveDuplicateLinesBench(benchmark::State& state) {
    Measure(state, [](const std::u16string& text, ProgressReporter& progress) {
        return RemoveDuplicateLines(text, progress);
    });
}

void AddLinePrefixSuffixBench(benchmark::State& state) {
    Measure(state, [](const std::u16string& text, ProgressReporter& progress) {
        return AddLinePrefixSuffix(text, u"<li>", u"</li>", progress);
    });
}

void RemoveFootnotesBench(benchmark::State& state) {
    Measure(state, [](const std::u16string& text, ProgressReporter& progress) {
        return RemoveFootnotes(text, u"(см. рис", u")", progress);
    });
}

// {1 MB, 16 MB of text} and {1 million lines}.
void LineSizes(benchmark::internal::Benchmark* b) { b->Args({1, 0})->Args({16, 0})->Args({1, 1}); }

BENCHMARK(SortLinesBench)->Name("SortLines")->Apply(LineSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveDuplicateLinesBench)->Name("RemoveDuplicateLines")->Apply(LineSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(AddLinePrefixSuffixBench)->Name("AddLinePrefixSuffix")->Apply(LineSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveFootnotesBench)->Name("RemoveFootnotes")->Args({1, 0})->Args({16, 0})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
