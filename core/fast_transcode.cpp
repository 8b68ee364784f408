#include "core/fast_transcode.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/chars.h"
#include "core/editor_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vernalith {
namespace {

constexpr std::array<char16_t, 128> kCp1251High = {
#include "core/cp1251_table.inc"
};

constexpr char16_t kReplacementChar = u'\uFFFD';
constexpr uint64_t kHighBits = 0x8080808080808080ULL;
constexpr uint64_t kOnes = 0x0101010101010101ULL;

// True when one of the eight bytes (all below 0x80) is below 0x0E: a CR, an LF or another control
// character that the slow path looks at.
bool HasControlByte(uint64_t word) { return ((word - kOnes * 0x0E) & ~word & kHighBits) != 0; }

// Collects UTF-16 output in a small buffer that stays in the cache and appends it to the result string
// in blocks: the result is reserved once and never zero-filled.
class Utf16Out {
public:
    Utf16Out(std::u16string& out, size_t reserve) : out_(out) {
        out_.clear();
        out_.reserve(reserve);
    }
    ~Utf16Out() { Flush(); }

    // Makes room for `n` more units (n is small).
    char16_t* Room(size_t n) {
        if (static_cast<size_t>(std::end(buffer_) - p) < n) Flush();
        return p;
    }
    size_t Left() const { return static_cast<size_t>(std::end(buffer_) - p); }
    void Flush() {
        out_.append(buffer_, static_cast<size_t>(p - buffer_));
        p = buffer_;
    }
    void PutBreak() {
        *p++ = kCR;
        *p++ = kLF;
    }

    char16_t* p = buffer_;

private:
    std::u16string& out_;
    char16_t buffer_[16384];
};

// Copies ASCII bytes (with `stopAtControls`, none below 0x0E) as UTF-16 units, sixteen or eight at a
// time, while there is room; returns the first byte not copied.
template <bool stopAtControls>
const unsigned char* CopyAsciiRun(const unsigned char* s, const unsigned char* e, Utf16Out& out) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i controlLimit = _mm_set1_epi8(0x0E);
    while (e - s >= 16 && out.Left() >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        int stop = _mm_movemask_epi8(v);  // bytes of 0x80 and above
        if (stopAtControls) stop |= _mm_movemask_epi8(_mm_cmplt_epi8(v, controlLimit));
        // All sixteen are stored (there is room); only those before the first stop count.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out.p), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out.p + 8), _mm_unpackhi_epi8(v, zero));
        const int copied = stop == 0 ? 16 : __builtin_ctz(static_cast<unsigned>(stop));
        s += copied;
        out.p += copied;
        if (stop != 0) return s;
    }
#endif
    while (e - s >= 8 && out.Left() >= 8) {
        uint64_t word;
        std::memcpy(&word, s, 8);
        if ((word & kHighBits) != 0 || (stopAtControls && HasControlByte(word))) break;
        for (int k = 0; k < 8; ++k) out.p[k] = s[k];
        s += 8;
        out.p += 8;
    }
    while (s < e && out.Left() > 0 && *s < 0x80 && !(stopAtControls && *s < 0x0E)) *out.p++ = *s++;
    return s;
}

// Handles a CR or LF at `s` by the editor's rule: CR LF, a lone CR and a lone LF each become CR LF.
const unsigned char* PutAsciiBreak(const unsigned char* s, const unsigned char* e, Utf16Out& out) {
    if (*s == '\r' && s + 1 < e && s[1] == '\n') ++s;
    out.PutBreak();
    return s + 1;
}

// One UTF-8 sequence of three or four bytes (or an invalid one) at `s`: its length, or 0.
size_t DecodeLong(const unsigned char* s, const unsigned char* e, uint32_t& cp) {
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

#if defined(__x86_64__) || defined(__i386__)
#define VERNALITH_SSSE3_DECODER 1
#include <tmmintrin.h>

// The shuffles of the SSSE3 decoder: for each pattern of sequence leads among eight bytes, where each
// character's bytes are (as the high and low byte of a 16-bit lane) and how many characters there are.
struct LeadShuffle {
    alignas(16) uint8_t shuffle[16];
    uint8_t characters;
};

const std::array<LeadShuffle, 256>& LeadShuffles() {
    static const std::array<LeadShuffle, 256> table = [] {
        std::array<LeadShuffle, 256> t{};
        for (unsigned leads = 0; leads < 256; ++leads) {
            LeadShuffle& entry = t[leads];
            std::memset(entry.shuffle, 0x80, sizeof entry.shuffle);
            unsigned k = 0;
            for (unsigned p = 0; p < 8; ++p) {
                if (p > 0 && (leads >> (p - 1) & 1)) continue;  // the second byte of a sequence
                const bool lead = leads >> p & 1;
                entry.shuffle[2 * k] = static_cast<uint8_t>(lead ? p + 1 : p);
                entry.shuffle[2 * k + 1] = lead ? static_cast<uint8_t>(p) : 0x80;
                ++k;
            }
            entry.characters = static_cast<uint8_t>(k);
        }
        return t;
    }();
    return table;
}

std::atomic<bool> ssse3Allowed{true};

bool HasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has && ssse3Allowed.load(std::memory_order_relaxed);
}

// The UTF-16 units of up to eight characters of one or two bytes, gathered from `v` by `shuffle` into
// 16-bit lanes that hold (lead << 8) | second byte, or the ASCII byte alone.
__attribute__((target("ssse3"))) inline __m128i CharacterUnits(__m128i v, __m128i shuffle) {
    const __m128i words = _mm_shuffle_epi8(v, shuffle);
    const __m128i hi = _mm_srli_epi16(words, 8);
    const __m128i two = _mm_cmpgt_epi16(hi, _mm_setzero_si128());
    const __m128i lowMask = _mm_xor_si128(_mm_set1_epi16(0x7F), _mm_and_si128(two, _mm_set1_epi16(0x40)));
    return _mm_or_si128(_mm_slli_epi16(_mm_and_si128(hi, _mm_set1_epi16(0x1F)), 6), _mm_and_si128(words, lowMask));
}

// Decodes sixteen bytes at a time, or eight (nine when the eighth starts a two-byte sequence) while they are
// ASCII or two-byte sequences (with `editorBreaks`, CR only in CR LF within the eight bytes and LF
// only after CR, which the editor keeps as they are); at least sixteen bytes must be readable at `s` and the output
// must have room for eight units per step. Returns where it stopped.
template <bool editorBreaks>
__attribute__((target("ssse3"))) const unsigned char* DecodeTwoByteRunsSsse3(const unsigned char* s,
                                                                             const unsigned char* e, char16_t*& o,
                                                                             const char16_t* limit) {
    const auto& shuffles = LeadShuffles();
    const __m128i leadLow = _mm_set1_epi8(static_cast<char>(0xC1));  // signed: leads are 0xC2..0xDF
    const __m128i leadHigh = _mm_set1_epi8(static_cast<char>(0xE0));
    const __m128i contHigh = _mm_set1_epi8(static_cast<char>(0xC0));  // signed: 0x80..0xBF below it
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (e - s >= 16 && limit - o >= 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
        const unsigned leads = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpgt_epi8(v, leadLow), _mm_cmplt_epi8(v, leadHigh))));
        const unsigned conts = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, contHigh)));
        unsigned crs = 0, lfs = 0;
        if (editorBreaks) {
            crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
            lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
        }
        // All sixteen bytes at once: every byte of 0x80 and above is a lead or a continuation, a
        // continuation follows each lead and only a lead, and the last byte ends a character. The
        // second eight start after the character that holds byte 7 (at byte 8 or 9).
        const bool whole = (high & ~(leads | conts)) == 0 && conts == ((leads << 1) & 0xFFFF) &&
                           (leads & 0x8000) == 0 &&
                           (!editorBreaks || ((crs & 0x8000) == 0 && lfs == ((crs << 1) & 0xFFFF)));
        if (whole && limit - o >= 16) {
            const unsigned second = 8 + (leads >> 7 & 1);
            const LeadShuffle& first = shuffles[leads & 0xFF];
            const LeadShuffle& rest = shuffles[(leads >> second) & 0xFF];
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o),
                             CharacterUnits(v, _mm_load_si128(reinterpret_cast<const __m128i*>(first.shuffle))));
            o += first.characters;
            const __m128i restShuffle = _mm_add_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(rest.shuffle)),
                                                     _mm_set1_epi8(static_cast<char>(second)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), CharacterUnits(v, restShuffle));
            o += rest.characters - (second - 8);  // from byte 9 the last place is byte 16, outside
            s += 16;
            continue;
        }
        // Else the first eight bytes (nine when the eighth starts a two-byte sequence).
        if (((high & ~(leads | conts)) & 0xFF) != 0 || (conts & 0x1FF) != ((leads & 0xFF) << 1)) break;
        if (editorBreaks && ((crs & 0x80) != 0 || (lfs & 0xFF) != ((crs << 1) & 0xFF))) break;
        const LeadShuffle& entry = shuffles[leads & 0xFF];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o),
                         CharacterUnits(v, _mm_load_si128(reinterpret_cast<const __m128i*>(entry.shuffle))));
        o += entry.characters;
        s += 8 + (leads >> 7 & 1);
    }
    return s;
}
#endif

// Decodes up to sixteen bytes at `s` (there must be sixteen) while they are ASCII (with `editorBreaks`,
// not a control character) or two-byte sequences, the common characters of Russian and English text:
// sixteen ASCII bytes at once, else one character per step with no branch on which kind it is.
// Returns where it stopped; at `s` when the first character needs the general decoder.
template <bool editorBreaks>
const unsigned char* DecodeCommonBlock(const unsigned char* s, const unsigned char* e, Utf16Out& out) {
#if defined(VERNALITH_SSSE3_DECODER)
    if (HasSsse3()) {
        char16_t* o = out.p;
        const unsigned char* next = DecodeTwoByteRunsSsse3<editorBreaks>(s, e, o, out.p + out.Left());
        out.p = o;
        if (next != s) return next;
    }
#endif
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    int stop = _mm_movemask_epi8(v);
    if (editorBreaks) stop |= _mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(0x0E)));
    if (stop == 0) {
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out.p), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out.p + 8), _mm_unpackhi_epi8(v, zero));
        out.p += 16;
        return s + 16;
    }
#endif
    char16_t* o = out.p;
    const unsigned char* const end = s + 15;  // a two-byte sequence may start at the fifteenth byte
    while (s < end) {
        // Both kinds are computed and one is picked by a mask: text mixes them too often for a branch.
        const uint32_t b0 = s[0], b1 = s[1];
        const uint32_t two = static_cast<uint32_t>(b0 - 0xC2u < 0x1Eu) & static_cast<uint32_t>((b1 & 0xC0u) == 0x80u);
        const uint32_t ascii =
            editorBreaks ? static_cast<uint32_t>(b0 - 0x0Eu < 0x72u) : static_cast<uint32_t>(b0 < 0x80u);
        if ((two | ascii) == 0) break;
        const uint32_t mask = 0u - two;
        *o++ = static_cast<char16_t>(((((b0 & 0x1F) << 6) | (b1 & 0x3F)) & mask) | (b0 & ~mask));
        s += 1 + two;
    }
    out.p = o;
    return s;
}

template <bool strict, bool editorBreaks>
bool DecodeUtf8Into(std::string_view bytes, std::u16string& result, size_t* invalidAt) {
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* s = begin;
    const unsigned char* e = begin + bytes.size();
    // Never more units than bytes, except that a lone CR or LF becomes two.
    Utf16Out out(result, editorBreaks ? bytes.size() + bytes.size() / 8 + 16 : bytes.size());
    while (s < e) {
        out.Room(64);
        if (e - s >= 16) {
            const unsigned char* next = DecodeCommonBlock<editorBreaks>(s, e, out);
            if (next != s) {
                s = next;
                continue;
            }
        }
        const unsigned b = *s;
        if (b < 0x80) {
            if (editorBreaks && (b == '\r' || b == '\n')) {
                s = PutAsciiBreak(s, e, out);
                continue;
            }
            const unsigned char* next = CopyAsciiRun<editorBreaks>(s, e, out);
            if (next == s) {  // a control character
                *out.p++ = static_cast<char16_t>(b);
                ++next;
            }
            s = next;
            continue;
        }
        // A run of two-byte sequences (a Cyrillic word) without the general decoder.
        if (b >= 0xC2 && b < 0xE0 && s + 1 < e && (s[1] & 0xC0) == 0x80) {
            char16_t* o = out.p;
            char16_t* const limit = o + out.Left();
            do {
                *o++ = static_cast<char16_t>(((s[0] & 0x1F) << 6) | (s[1] & 0x3F));
                s += 2;
            } while (o != limit && e - s >= 2 && s[0] >= 0xC2 && s[0] < 0xE0 && (s[1] & 0xC0) == 0x80);
            out.p = o;
            continue;
        }
        uint32_t cp = 0;
        const size_t len = DecodeLong(s, e, cp);
        if (len == 0) {
            if (strict) {
                if (invalidAt) *invalidAt = static_cast<size_t>(s - begin);
                return false;
            }
            *out.p++ = kReplacementChar;
            ++s;
            continue;
        }
        s += len;
        if (editorBreaks && cp == kLineSeparator) {
            // U+2028 together with a CR and then an LF directly after it is one break.
            if (s < e && *s == '\r') ++s;
            if (s < e && *s == '\n') ++s;
            out.PutBreak();
        } else if (cp < 0x10000) {
            *out.p++ = static_cast<char16_t>(cp);
        } else {
            cp -= 0x10000;
            *out.p++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *out.p++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
    }
    return true;
}

template <bool editorBreaks>
std::u16string DecodeCp1251Into(std::string_view bytes) {
    std::u16string result;
    {
        const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
        const unsigned char* e = s + bytes.size();
        Utf16Out out(result, editorBreaks ? bytes.size() + bytes.size() / 8 + 16 : bytes.size());
        while (s < e) {
            out.Room(64);
            const unsigned b = *s;
            if (b >= 0x80) {
                *out.p++ = kCp1251High[b - 0x80];
                ++s;
            } else if (editorBreaks && (b == '\r' || b == '\n')) {
                s = PutAsciiBreak(s, e, out);
            } else {
                const unsigned char* next = CopyAsciiRun<editorBreaks>(s, e, out);
                if (next == s) {
                    *out.p++ = static_cast<char16_t>(b);
                    ++next;
                }
                s = next;
            }
        }
    }
    return result;
}

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
    static const std::array<unsigned char, 0x10000> table = [] {
        std::array<unsigned char, 0x10000> t{};
        t.fill('?');
        for (unsigned b = 0; b < 0x80; ++b) t[b] = static_cast<unsigned char>(b);
        for (unsigned b = 0x80; b < 0x100; ++b) t[kCp1251High[b - 0x80]] = static_cast<unsigned char>(b);
        return t;
    }();
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

void AllowShuffleInstructions(bool allowed) {
#if defined(VERNALITH_SSSE3_DECODER)
    ssse3Allowed = allowed;
#else
    (void)allowed;
#endif
}

std::optional<std::u16string> FastDecodeUtf8(std::string_view bytes, bool strict, bool editorBreaks,
                                             size_t* invalidAt) {
    std::u16string text;
    bool ok;
    if (strict) {
        ok = editorBreaks ? DecodeUtf8Into<true, true>(bytes, text, invalidAt)
                          : DecodeUtf8Into<true, false>(bytes, text, invalidAt);
    } else {
        ok = editorBreaks ? DecodeUtf8Into<false, true>(bytes, text, invalidAt)
                          : DecodeUtf8Into<false, false>(bytes, text, invalidAt);
    }
    if (!ok) return std::nullopt;
    return text;
}

std::u16string FastDecodeCp1251(std::string_view bytes, bool editorBreaks) {
    return editorBreaks ? DecodeCp1251Into<true>(bytes) : DecodeCp1251Into<false>(bytes);
}

DecodedText DecodeFileBytes(std::string_view bytes, std::optional<TextEncoding> encoding, bool editorBreaks) {
    const std::optional<ByteOrderMark> mark = DetectByteOrderMark(bytes);
    // A mark drops out when it names the encoding asked for, or decides when none was asked for.
    if (mark && (!encoding || *encoding == mark->encoding)) {
        bytes.remove_prefix(mark->length);
        encoding = mark->encoding;
    }
    DecodedText result;
    if (!encoding) {
        size_t invalidAt = 0;
        if (auto utf8 = FastDecodeUtf8(bytes, true, editorBreaks, &invalidAt)) {
            result.text = *std::move(utf8);
            return result;
        }
        result.notUtf8At = invalidAt;
        encoding = TextEncoding::Cp1251;
    }
    switch (*encoding) {
        case TextEncoding::Utf8:
            result.text = *FastDecodeUtf8(bytes, false, editorBreaks);
            break;
        case TextEncoding::Cp1251:
            result.text = FastDecodeCp1251(bytes, editorBreaks);
            break;
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            result.text = DecodeUtf16(bytes, *encoding == TextEncoding::Utf16BE);
            if (editorBreaks && !HasOnlyCrLfBreaks(result.text)) result.text = ToEditorText(result.text);
            break;
    }
    return result;
}

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
