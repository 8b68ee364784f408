// The command-line tool's byte path without a procedure: UTF-8 bytes of the sample text decoded with
// the editor's line breaks, and encoded back; MB/s of input bytes.
#include <benchmark/benchmark.h>

#include "core/encoding.h"
#include "core/fast_transcode.h"
#include "sample_text.h"

namespace vernalith::bench {
namespace {

const std::string& SampleBytes() {
    static const std::string bytes = EncodeUtf8(SampleText(16 * kMB));
    return bytes;
}

void BM_DecodeUtf8EditorBreaks(benchmark::State& state) {
    const std::string& bytes = SampleBytes();
    for (auto _ : state) benchmark::DoNotOptimize(FastDecodeUtf8(bytes, true, true));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_EncodeUtf8EditorBreaks(benchmark::State& state) {
    const std::string& bytes = SampleBytes();
    const std::u16string text = *FastDecodeUtf8(bytes, true, true);
    size_t written = 0;
    for (auto _ : state) {
        EncodeText(text, TextEncoding::Utf8, true, false, [&](std::string_view piece) { written += piece.size(); });
    }
    benchmark::DoNotOptimize(written);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_PlainDecodeEncode(benchmark::State& state) {
    const std::string& bytes = SampleBytes();
    for (auto _ : state) benchmark::DoNotOptimize(EncodeUtf8(DecodeUtf8(bytes)));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(BM_DecodeUtf8EditorBreaks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeUtf8EditorBreaks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDecodeEncode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
