#include <benchmark/benchmark.h>

#include "core/line_list.h"
#include "core/progress.h"
#include "sample_text.h"
#include "text/characters.h"

namespace vernalith::bench {
namespace {

// Lists of the kind users keep: markup and abbreviations to drop, letters and marks to normalise.
const std::u16string kRemoveList = u"<b>\r\n</b>\r\n(см. рис. 4)\r\nт.д\r\n  ";
const std::u16string kReplaceList = u"ё,е\r\nЁ,Е\r\n<p>,<p class=\"t\">\r\n т.д, и так далее\r\n..., …";

// Throughput per list line: the text's bytes times the number of list lines.
void SetBytesPerListLine(benchmark::State& state, const std::u16string& text, const std::u16string& list) {
    const auto lines = static_cast<int64_t>(SplitLineViews(list).size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2) * lines);
}

void RemoveListedCharactersBench(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(RemoveListedCharacters(text, kRemoveList, progress));
    SetBytesPerListLine(state, text, kRemoveList);
}

void ReplaceListedCharactersBench(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(ReplaceListedCharacters(text, kReplaceList, u",", progress));
    SetBytesPerListLine(state, text, kReplaceList);
}

// A pair that replaces every character of the text by two, its search part inside the replacement.
void ReplaceListedCharactersEveryCharacter(benchmark::State& state) {
    const std::u16string text(static_cast<size_t>(state.range(0)) * kMB / 2, u'a');
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(ReplaceListedCharacters(text, u"a,ba", u",", progress));
    SetBytesPerListLine(state, text, u"a,ba");
}

BENCHMARK(RemoveListedCharactersBench)->Name("RemoveListedCharacters")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceListedCharactersBench)
    ->Name("ReplaceListedCharacters")
    ->Arg(1)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceListedCharactersEveryCharacter)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
