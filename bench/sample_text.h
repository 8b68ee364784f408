#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "core/progress.h"

namespace vernalith::bench {

// A mixed Russian/English text of about `bytes` bytes in UTF-16 (bytes / 2 code units) with the
// features the procedures act on: runs of spaces, spaces before punctuation, blank lines, CR LF
// breaks, hyphenated line ends, repeated punctuation, tags, footnotes. The same size always gives
// the same text.
std::u16string SampleText(size_t bytes);

// `lines` short lines (words, some repeated), joined by CR LF.
std::u16string SampleLines(size_t lines);

inline constexpr size_t kMB = 1 << 20;

// Counts the text's UTF-16 bytes as processed once per iteration, so figures read as MB/s of text.
inline void SetTextBytes(benchmark::State& state, const std::u16string& text) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}

// A procedure of the common shape over the sample text of state.range(0) MB.
template <std::u16string (*Procedure)(const std::u16string&, ProgressReporter&, int)>
void RunOnSampleText(benchmark::State& state) {
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    SilentProgress progress;
    for (auto _ : state) benchmark::DoNotOptimize(Procedure(text, progress, StepCounter::kDefaultLimit));
    SetTextBytes(state, text);
}

}  // namespace vernalith::bench
