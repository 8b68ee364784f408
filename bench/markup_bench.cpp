#include <benchmark/benchmark.h>

#include <random>

#include "core/progress.h"
#include "markup/tag_count.h"
#include "markup/text_info.h"
#include "sample_text.h"

namespace vernalith::bench {
namespace {

void CountTagsBench(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(CountTags(text, u"<p>", progress));
    SetTextBytes(state, text);
}

void TextInfoBench(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(CollectTextInformation(text, progress));
    SetTextBytes(state, text);
}

// Words of random letters: hundreds of thousands of distinct words, the worst case of the tally and
// of the ordering.
std::u16string ManyWordsText(size_t bytes) {
    std::mt19937 rng(static_cast<uint32_t>(bytes));
    std::uniform_int_distribution<int> letter(0, 31), wordLength(2, 9);
    std::u16string text;
    text.reserve(bytes / 2 + 16);
    while (text.size() < bytes / 2) {
        for (int n = wordLength(rng); n > 0; --n) text.push_back(static_cast<char16_t>(u'а' + letter(rng)));
        text += (text.size() % 7 == 0) ? u"\r\n" : u" ";
    }
    text.resize(bytes / 2);
    return text;
}

void TextInfoManyWordsBench(benchmark::State& state) {
    const std::u16string text = ManyWordsText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(CollectTextInformation(text, progress));
    SetTextBytes(state, text);
}

BENCHMARK(CountTagsBench)->Name("CountTags")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(TextInfoBench)->Name("TextInfo")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(TextInfoManyWordsBench)->Name("TextInfoManyWords")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
