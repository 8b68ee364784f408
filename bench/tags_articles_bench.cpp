#include <benchmark/benchmark.h>

#include "core/progress.h"
#include "core/random.h"
#include "markup/article_split.h"
#include "markup/paragraphs.h"
#include "markup/tag_stripping.h"
#include "sample_text.h"

namespace vernalith::bench {
namespace {

void StripHtmlTagsBench(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(StripHtmlTags(text, progress));
    SetTextBytes(state, text);
}

void InsertParagraphTagsBench(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(InsertParagraphTags(text, progress));
    SetTextBytes(state, text);
}

// The default settings: articles of 1400 to 1700 characters, "<h1>" headings of 37 characters.
void SplitIntoArticlesBench(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    SeededRandom random(1);
    const ArticleSplitSettings settings;
    for (auto _ : state) benchmark::DoNotOptimize(SplitIntoArticles(text, settings, random, progress));
    SetTextBytes(state, text);
}

BENCHMARK(StripHtmlTagsBench)->Name("StripHtmlTags")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(InsertParagraphTagsBench)->Name("InsertParagraphTags")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(SplitIntoArticlesBench)->Name("SplitIntoArticles")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
