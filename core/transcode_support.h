#pragma once

// What the transcoding code shares between decoding and encoding: the processor check for SSSE3 and
// the code page table. Internal to core/fast_decode.cpp and core/fast_encode.cpp.

#include <array>
#include <atomic>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#define VERNALITH_SSSE3_DECODER 1
#include <tmmintrin.h>
#endif

namespace vernalith::transcode {

inline constexpr std::array<char16_t, 128> kCp1251High = {
#include "core/cp1251_table.inc"
};

inline constexpr char16_t kReplacementChar = u'\uFFFD';

// Turned off by tests (AllowShuffleInstructions) to check the other path.
inline std::atomic<bool> shuffleInstructionsAllowed{true};

// True when the processor has SSSE3 (its byte shuffles) and their use is allowed.
inline bool HasSsse3() {
#if defined(VERNALITH_SSSE3_DECODER)
    static const bool has = __builtin_cpu_supports("ssse3");
    return has && shuffleInstructionsAllowed.load(std::memory_order_relaxed);
#else
    return false;
#endif
}

}  // namespace vernalith::transcode
