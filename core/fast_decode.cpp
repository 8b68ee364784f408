// Bytes to text: UTF-8 and cp1251 to UTF-16 in one pass, with the editor's line breaks.
#include <cstdint>
#include <cstring>

#include "core/chars.h"
#include "core/editor_text.h"
#include "core/fast_transcode.h"
#include "core/huge_pages.h"
#include "core/transcode_support.h"

namespace vernalith {
using namespace transcode;
namespace {

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
        AdviseHugePages(out_.data(), out_.capacity() * sizeof(char16_t));
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

#if defined(VERNALITH_SSSE3_DECODER)

// The shuffles that pack the kept 16-bit lanes of eight to the front: for each pattern of lanes to keep,
// which bytes make the output, and how many lanes are kept.
struct PackShuffle {
    alignas(16) uint8_t shuffle[16];
    uint8_t units;
};

const std::array<PackShuffle, 256>& PackShuffles() {
    static const std::array<PackShuffle, 256> table = [] {
        std::array<PackShuffle, 256> t{};
        for (unsigned keep = 0; keep < 256; ++keep) {
            PackShuffle& entry = t[keep];
            std::memset(entry.shuffle, 0x80, sizeof entry.shuffle);
            unsigned k = 0;
            for (unsigned lane = 0; lane < 8; ++lane) {
                if (!(keep >> lane & 1)) continue;
                entry.shuffle[2 * k] = static_cast<uint8_t>(2 * lane);
                entry.shuffle[2 * k + 1] = static_cast<uint8_t>(2 * lane + 1);
                ++k;
            }
            entry.units = static_cast<uint8_t>(k);
        }
        return t;
    }();
    return table;
}

// Eight bytes in 16-bit lanes as the characters they would start: an ASCII byte as it is, a lead byte
// (where `lead` is set) with the continuation byte after it (the same lane of `next`).
__attribute__((target("ssse3"))) inline __m128i StartedUnits(__m128i bytes, __m128i next, __m128i lead) {
    const __m128i two = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(bytes, _mm_set1_epi16(0x1F)), 6),
                                     _mm_and_si128(next, _mm_set1_epi16(0x3F)));
    return _mm_or_si128(_mm_and_si128(lead, two), _mm_andnot_si128(lead, bytes));
}

// Decodes sixteen bytes a step (seventeen when the last one starts a two-byte sequence, fifteen when it
// is a CR whose LF comes next) while they are ASCII or two-byte sequences (with `editorBreaks`, CR only
// in CR LF and LF only after CR, which the editor keeps as they are). Every byte is decoded as if it
// started a character and the lanes of continuation bytes are packed out, so there is no branch on the
// mix of characters. At least seventeen bytes must be readable at `s` and the output must have room
// for sixteen units per step. Returns where it stopped.
template <bool editorBreaks>
__attribute__((target("ssse3"))) const unsigned char* DecodeTwoByteRunsSsse3(const unsigned char* s,
                                                                             const unsigned char* e, char16_t*& o,
                                                                             const char16_t* limit) {
    const auto& pack = PackShuffles();
    const __m128i zero = _mm_setzero_si128();
    const __m128i leadLow = _mm_set1_epi8(static_cast<char>(0xC1));  // signed: leads are 0xC2..0xDF
    const __m128i leadHigh = _mm_set1_epi8(static_cast<char>(0xE0));
    const __m128i contHigh = _mm_set1_epi8(static_cast<char>(0xC0));  // signed: 0x80..0xBF below it
    while (e - s >= 17 && limit - o >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 1));
        const __m128i leadBytes = _mm_and_si128(_mm_cmpgt_epi8(v, leadLow), _mm_cmplt_epi8(v, leadHigh));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
        const unsigned leads = static_cast<unsigned>(_mm_movemask_epi8(leadBytes));
        const unsigned conts = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, contHigh)));
        const unsigned contsAfter = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(next, contHigh)));
        // Every byte of 0x80 and above is a lead or a continuation, a continuation follows each lead
        // (the one after byte 15 too) and only a lead, and the block does not start inside a character.
        bool whole = (high & ~(leads | conts)) == 0 && contsAfter == leads && (conts & 1) == 0;
        unsigned starts = ~conts & 0xFFFF;
        size_t advance = 16 + (leads >> 15);
        if (editorBreaks) {
            const unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))));
            const unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))));
            whole = whole && lfs == ((crs << 1) & 0xFFFF);
            const unsigned lastCr = crs >> 15;  // left for the next step, which sees whether an LF follows
            starts &= ~(lastCr << 15);
            advance -= lastCr;
        }
        if (!whole) break;
        const __m128i low = StartedUnits(_mm_unpacklo_epi8(v, zero), _mm_unpacklo_epi8(next, zero),
                                         _mm_unpacklo_epi8(leadBytes, leadBytes));
        const __m128i highUnits = StartedUnits(_mm_unpackhi_epi8(v, zero), _mm_unpackhi_epi8(next, zero),
                                               _mm_unpackhi_epi8(leadBytes, leadBytes));
        const PackShuffle& first = pack[starts & 0xFF];
        const PackShuffle& second = pack[starts >> 8];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o),
                         _mm_shuffle_epi8(low, _mm_load_si128(reinterpret_cast<const __m128i*>(first.shuffle))));
        o += first.units;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o),
                         _mm_shuffle_epi8(highUnits, _mm_load_si128(reinterpret_cast<const __m128i*>(second.shuffle))));
        o += second.units;
        s += advance;
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
        const size_t len = DecodeUtf8Sequence(s, e, cp);
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

}  // namespace

void AllowShuffleInstructions(bool allowed) { shuffleInstructionsAllowed = allowed; }

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

}  // namespace vernalith
