// The command-line tool's byte path without a procedure: UTF-8 bytes of the sample text decoded with
// the editor's line breaks, and encoded back; MB/s of input bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "core/byte_io.h"
#include "core/encoding.h"
#include "core/fast_transcode.h"
#include "sample_text.h"

namespace vernalith::bench {
namespace {

const std::string& SampleBytes() {
    // About 16 MB of UTF-8 (the sample's Cyrillic takes two bytes a character).
    static const std::string bytes = EncodeUtf8(SampleText(24 * kMB));
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

// The whole path of the command-line tool around a procedure: read a file, decode with the editor's
// line breaks, encode, write (to /dev/null). Measured in CPU time of the thread, the kernel's work for
// it (the read's copy, the page faults) included: on a shared machine the wall time mostly measures
// the other load.
void BM_BytePath(benchmark::State& state) {
    const std::string& bytes = SampleBytes();
    char path[] = "/tmp/vernalith_byte_path_XXXXXX";
    const int fd = ::mkstemp(path);
    WriteAllBytes(fd, bytes, path);
    ::close(fd);
    const int devNull = ::open("/dev/null", O_WRONLY);
    for (auto _ : state) {
        ByteBuffer input = ReadFileBytes(path);
        DecodedText decoded = DecodeFileBytes(input.View(), std::nullopt, true);
        input.Release();
        EncodeText(decoded.text, TextEncoding::Utf8, true, false,
                   [&](std::string_view piece) { WriteAllBytes(devNull, piece, "/dev/null"); });
    }
    ::close(devNull);
    std::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(BM_BytePath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeUtf8EditorBreaks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeUtf8EditorBreaks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDecodeEncode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench
