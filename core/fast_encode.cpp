// Text to bytes: UTF-16 to UTF-8, cp1251 or UTF-16 in one pass, in blocks handed to a sink.
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/chars.h"
#include "core/fast_transcode.h"
#include "core/transcode_support.h"

namespace vernalith {
using namespace transcode;
namespace {

// Collects encoded bytes in a block and hands full blocks to the sink.
class ByteOut {
public:
    explicit ByteOut(const std::function<void(std::string_view)>& sink) : sink_(sink), buffer_(new char[kSize]) {
        p = buffer_.get();
    }

    char* Room(size_t n) {
        if (static_cast<size_t>(buffer_.get() + kSize - p) < n) Flush();
        return p;
    }
    size_t Left() const { return static_cast<size_t>(buffer_.get() + kSize - p); }
    void Flush() {
        if (p != buffer_.get()) sink_(std::string_view(buffer_.get(), static_cast<size_t>(p - buffer_.get())));
        p = buffer_.get();
    }

    static constexpr size_t kSize = size_t{1} << 20;
    char* p = nullptr;

private:
    const std::function<void(std::string_view)>& sink_;
    std::unique_ptr<char[]> buffer_;  // not zero-filled: every byte handed on was written first
};

// How line breaks are written: as they are; CR LF as LF; or every break by the editor's rule (CR LF,
// a lone CR, a lone LF, U+2028 with a CR and an LF after it) as CR LF, or as LF.
struct BreakRule {
    bool editor;
    bool lf;
    bool Active() const { return editor || lf; }
};

// The length of the line break at `i` under the rule (0: not a break to rewrite).
size_t BreakLength(std::u16string_view text, size_t i, BreakRule rule) {
    const size_t n = text.size();
    const char16_t c = text[i];
    if (c == kCR && i + 1 < n && text[i + 1] == kLF) return 2;
    if (!rule.editor) return 0;
    if (c == kCR || c == kLF) return 1;
    if (c != kLineSeparator) return 0;
    size_t j = i + 1;
    if (j < n && text[j] == kCR) ++j;
    if (j < n && text[j] == kLF) ++j;
    return j - i;
}

bool MayBreak(char16_t c) { return c == kCR || c == kLF || c == kLineSeparator; }

// Copies units below 0x80 (with `stopAtControls`, none below 0x0E) as bytes, eight or four at a time;
// returns the index of the first unit not copied.
template <bool stopAtControls>
size_t CopyAsciiUnits(std::u16string_view text, size_t i, ByteOut& out) {
    const char16_t* t = text.data();
    const size_t n = text.size();
#if defined(__SSE2__)
    const __m128i highMask = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    const __m128i controlLimit = _mm_set1_epi16(0x0E);
    while (n - i >= 8 && out.Left() >= 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
        int stop = ~_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, highMask), zero)) & 0xFFFF;
        if (stopAtControls) stop |= _mm_movemask_epi8(_mm_cmplt_epi16(v, controlLimit));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out.p), _mm_packus_epi16(v, v));
        const int copied = stop == 0 ? 8 : __builtin_ctz(static_cast<unsigned>(stop)) / 2;
        i += static_cast<size_t>(copied);
        out.p += copied;
        if (stop != 0) return i;
    }
#endif
    while (n - i >= 4 && out.Left() >= 4) {
        uint64_t word;
        std::memcpy(&word, t + i, 8);
        if ((word & 0xFF80FF80FF80FF80ULL) != 0) break;
        if (stopAtControls && ((word - 0x000E000E000E000EULL) & ~word & 0x8000800080008000ULL) != 0) break;
        for (int k = 0; k < 4; ++k) out.p[k] = static_cast<char>(t[i + k]);
        i += 4;
        out.p += 4;
    }
    while (i < n && out.Left() > 0 && t[i] < 0x80 && !(stopAtControls && t[i] < 0x0E))
        *out.p++ = static_cast<char>(t[i++]);
    return i;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

#if defined(VERNALITH_SSSE3_DECODER)
// The shuffles of the SSSE3 encoder: for each pattern of two-byte characters among eight units, which
// bytes of the eight 16-bit lanes (first byte low, second byte high) make the output, and how many.
struct PackShuffle {
    alignas(16) uint8_t shuffle[16];
    uint8_t bytes;
};

const std::array<PackShuffle, 256>& PackShuffles() {
    static const std::array<PackShuffle, 256> table = [] {
        std::array<PackShuffle, 256> t{};
        for (unsigned twos = 0; twos < 256; ++twos) {
            PackShuffle& entry = t[twos];
            std::memset(entry.shuffle, 0x80, sizeof entry.shuffle);
            unsigned k = 0;
            for (unsigned unit = 0; unit < 8; ++unit) {
                entry.shuffle[k++] = static_cast<uint8_t>(2 * unit);
                if (twos >> unit & 1) entry.shuffle[k++] = static_cast<uint8_t>(2 * unit + 1);
            }
            entry.bytes = static_cast<uint8_t>(k);
        }
        return t;
    }();
    return table;
}

// Encodes eight units at a time while they are below U+0800 (with `editorBreaks` and CR LF written as
// it is, CR only in CR LF within the eight and LF only after CR; with `lf`, no control characters).
// At least eight units must be readable at `i` and sixteen bytes writable per step.
template <bool breaks, bool lf>
__attribute__((target("ssse3"))) size_t EncodeTwoByteRunsSsse3(const char16_t* t, size_t i, size_t n, char*& o,
                                                               const char* limit) {
    const auto& shuffles = PackShuffles();
    const __m128i zero = _mm_setzero_si128();
    const __m128i above2047 = _mm_set1_epi16(static_cast<short>(0xF800));
    const __m128i ascii = _mm_set1_epi16(0x7F);
    while (n - i >= 8 && limit - o >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, above2047), zero)) != 0xFFFF) break;
        if (breaks) {
            if (lf) {
                if (_mm_movemask_epi8(_mm_cmplt_epi16(v, _mm_set1_epi16(0x0E))) != 0) break;
            } else {
                const unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(v, _mm_set1_epi16(0x0D))));
                const unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(v, _mm_set1_epi16(0x0A))));
                if ((crs & 0xC000) != 0 || lfs != ((crs << 2) & 0xFFFF)) break;
            }
        }
        const __m128i two = _mm_cmpgt_epi16(v, ascii);
        const __m128i lead = _mm_or_si128(_mm_srli_epi16(v, 6), _mm_set1_epi16(0xC0));
        const __m128i cont = _mm_or_si128(_mm_and_si128(v, _mm_set1_epi16(0x3F)), _mm_set1_epi16(0x80));
        const __m128i pair = _mm_or_si128(lead, _mm_slli_epi16(cont, 8));
        const __m128i words = _mm_or_si128(_mm_and_si128(two, pair), _mm_andnot_si128(two, v));
        const auto twos = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(two, zero)));
        const PackShuffle& entry = shuffles[twos];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o),
                         _mm_shuffle_epi8(words, _mm_load_si128(reinterpret_cast<const __m128i*>(entry.shuffle))));
        o += entry.bytes;
        i += 8;
    }
    return i;
}
#endif

// Encodes up to sixteen units from `i` (there must be sixteen) while they are below U+0800 (with
// `stopAtControls`, not a control character): eight ASCII units at once, else one unit per step with
// no branch on its length. Returns where it stopped; at `i` when the unit needs the general encoder.
template <bool stopAtControls>
size_t EncodeCommonBlock(const char16_t* t, size_t i, ByteOut& out) {
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
    const __m128i zero = _mm_setzero_si128();
    int stop = ~_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF80))), zero));
    if (stopAtControls) stop |= _mm_movemask_epi8(_mm_cmplt_epi16(v, _mm_set1_epi16(0x0E)));
    if ((stop & 0xFFFF) == 0) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out.p), _mm_packus_epi16(v, v));
        out.p += 8;
        return i + 8;
    }
#endif
    auto* o = reinterpret_cast<unsigned char*>(out.p);
    const size_t end = i + 16;
    for (; i < end; ++i) {
        const uint32_t c = t[i];
        if (c >= 0x800 || (stopAtControls && c < 0x0E)) break;
        // Both lengths are written and the length picked by a mask: no branch on the kind of character.
        const uint32_t two = static_cast<uint32_t>(c >= 0x80);
        const uint32_t mask = 0u - two;
        o[0] = static_cast<unsigned char>(((0xC0 | (c >> 6)) & mask) | (c & ~mask));
        o[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        o += 1 + two;
    }
    out.p = reinterpret_cast<char*>(o);
    return i;
}

template <bool stopAtControls>
void EncodeUtf8Pieces(std::u16string_view text, BreakRule rule, ByteOut& out) {
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        out.Room(64);
#if defined(VERNALITH_SSSE3_DECODER)
        if (HasSsse3() && n - i >= 8) {
            char* o = out.p;
            const char* limit = out.p + out.Left();
            const size_t next = !rule.Active() ? EncodeTwoByteRunsSsse3<false, false>(text.data(), i, n, o, limit)
                                : rule.lf      ? EncodeTwoByteRunsSsse3<true, true>(text.data(), i, n, o, limit)
                                               : EncodeTwoByteRunsSsse3<true, false>(text.data(), i, n, o, limit);
            out.p = o;
            if (next != i) {
                i = next;
                continue;
            }
        }
#endif
        if (n - i >= 16) {
            const size_t next = EncodeCommonBlock<stopAtControls>(text.data(), i, out);
            if (next != i) {
                i = next;
                continue;
            }
        }
        auto* o = reinterpret_cast<unsigned char*>(out.p);
        uint32_t c = text[i];
        if (rule.Active() && MayBreak(static_cast<char16_t>(c))) {
            if (const size_t length = BreakLength(text, i, rule)) {
                if (!rule.lf) *o++ = '\r';
                *o++ = '\n';
                out.p = reinterpret_cast<char*>(o);
                i += length;
                continue;
            }
        }
        if (c < 0x80) {
            const size_t next = CopyAsciiUnits<stopAtControls>(text, i, out);
            if (next == i) {  // a control character
                *out.p++ = static_cast<char>(c);
                ++i;
            } else {
                i = next;
            }
            continue;
        }
        if (c < 0x800) {
            // A run of characters of two bytes (a Cyrillic word).
            const unsigned char* const limit = o + out.Left() - 2;
            do {
                *o++ = static_cast<unsigned char>(0xC0 | (c >> 6));
                *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
                ++i;
            } while (o <= limit && i < n && (c = text[i]) >= 0x80 && c < 0x800);
        } else if (IsHighSurrogate(static_cast<char16_t>(c)) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            *o++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
            i += 2;
        } else {
            if (c >= 0xD800 && c <= 0xDFFF) c = kReplacementChar;  // an unpaired surrogate
            *o++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
            ++i;
        }
        out.p = reinterpret_cast<char*>(o);
    }
}

EncodeLosses EncodeCp1251Pieces(std::u16string_view text, BreakRule rule, ByteOut& out) {
    const std::array<unsigned char, 0x10000>& table = Cp1251EncodeTable();
    EncodeLosses losses;
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        char* o = out.Room(2);
        const char16_t c = text[i];
        if (rule.Active() && MayBreak(c)) {
            if (const size_t length = BreakLength(text, i, rule)) {
                if (!rule.lf) *o++ = '\r';
                *o++ = '\n';
                out.p = o;
                i += length;
                continue;
            }
        }
        const unsigned char b = table[c];
        if (b == '?' && c != u'?') {
            if (losses.replaced++ == 0) losses.firstAt = i;
            if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(text[i + 1])) ++i;  // one character
        }
        *out.p++ = static_cast<char>(b);
        ++i;
    }
    return losses;
}

void EncodeUtf16Pieces(std::u16string_view text, bool bigEndian, BreakRule rule, ByteOut& out) {
    auto put = [&](char16_t c) {
        char* o = out.Room(2);
        o[bigEndian ? 1 : 0] = static_cast<char>(c & 0xFF);
        o[bigEndian ? 0 : 1] = static_cast<char>(c >> 8);
        out.p += 2;
    };
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        if (rule.Active() && MayBreak(text[i])) {
            if (const size_t length = BreakLength(text, i, rule)) {
                if (!rule.lf) put(kCR);
                put(kLF);
                i += length;
                continue;
            }
        }
        put(text[i++]);
    }
}

}  // namespace

EncodeLosses EncodeText(std::u16string_view text, TextEncoding encoding, bool editorBreaks, bool lfBreaks,
                        const std::function<void(std::string_view)>& sink) {
    ByteOut out(sink);
    const BreakRule rule{editorBreaks, lfBreaks};
    EncodeLosses losses;
    switch (encoding) {
        case TextEncoding::Utf8:
            if (rule.Active()) {
                EncodeUtf8Pieces<true>(text, rule, out);
            } else {
                EncodeUtf8Pieces<false>(text, rule, out);
            }
            break;
        case TextEncoding::Cp1251:
            losses = EncodeCp1251Pieces(text, rule, out);
            break;
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            EncodeUtf16Pieces(text, encoding == TextEncoding::Utf16BE, rule, out);
            break;
    }
    out.Flush();
    return losses;
}

}  // namespace vernalith
