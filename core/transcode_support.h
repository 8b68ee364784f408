#pragma once

// What the transcoding code shares between decoding and encoding, plain and fast: the code page
// tables, the check of one UTF-8 sequence and the processor check for SSSE3. Internal to core/.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

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

// Every UTF-16 unit's cp1251 byte, '?' for what the code page lacks.
inline const std::array<unsigned char, 0x10000>& Cp1251EncodeTable() {
    static const std::array<unsigned char, 0x10000> table = [] {
        std::array<unsigned char, 0x10000> t{};
        t.fill('?');
        for (unsigned b = 0; b < 0x80; ++b) t[b] = static_cast<unsigned char>(b);
        for (unsigned b = 0x80; b < 0x100; ++b) t[kCp1251High[b - 0x80]] = static_cast<unsigned char>(b);
        return t;
    }();
    return table;
}

// One UTF-8 sequence of two to four bytes at `s` (the input ends at `e`): its length with its code
// point in `cp`, or 0 when it is not valid (bad lead or continuation byte, cut short, overlong, a
// surrogate, beyond U+10FFFF).
inline size_t DecodeUtf8Sequence(const unsigned char* s, const unsigned char* e, uint32_t& cp) {
    const unsigned b0 = *s;
    size_t len;
    uint32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (static_cast<size_t>(e - s) < len) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((s[k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

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
