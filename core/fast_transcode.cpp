#include "core/fast_transcode.h"

#include <array>
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

// Copies a run of ASCII bytes that holds no control byte (when `stopAtControls`) as UTF-16 units,
// sixteen or eight at a time, while there is room; returns the first byte not copied.
template <bool stopAtControls>
const unsigned char* CopyAsciiRun(const unsigned char* s, const unsigned char* e, Utf16Out& out) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i controlLimit = _mm_set1_epi8(0x0E);
    while (e - s >= 16 && out.Left() >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        int stop = _mm_movemask_epi8(v);  // bytes of 0x80 and above
        if (stopAtControls) stop |= _mm_movemask_epi8(_mm_cmplt_epi8(v, controlLimit));
        if (stop != 0) break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out.p), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out.p + 8), _mm_unpackhi_epi8(v, zero));
        s += 16;
        out.p += 16;
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

template <bool strict, bool editorBreaks>
bool DecodeUtf8Into(std::string_view bytes, std::u16string& result, size_t* invalidAt) {
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* s = begin;
    const unsigned char* e = begin + bytes.size();
    // Never more units than bytes, except that a lone CR or LF becomes two.
    Utf16Out out(result, editorBreaks ? bytes.size() + bytes.size() / 8 + 16 : bytes.size());
    while (s < e) {
        s = CopyAsciiRun<editorBreaks>(s, e, out);
        if (s == e) break;
        out.Room(2);
        const unsigned b = *s;
        if (b < 0x80) {
            if (editorBreaks && (b == '\r' || b == '\n')) {
                s = PutAsciiBreak(s, e, out);
            } else {
                *out.p++ = static_cast<char16_t>(b);
                ++s;
            }
            continue;
        }
        // Two-byte sequences (Cyrillic, Latin-1) without the general decoder.
        if (b >= 0xC2 && b < 0xE0 && s + 1 < e && (s[1] & 0xC0) == 0x80) {
            *out.p++ = static_cast<char16_t>(((b & 0x1F) << 6) | (s[1] & 0x3F));
            s += 2;
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
            s = CopyAsciiRun<editorBreaks>(s, e, out);
            if (s == e) break;
            out.Room(2);
            const unsigned b = *s;
            if (b >= 0x80) {
                *out.p++ = kCp1251High[b - 0x80];
                ++s;
            } else if (editorBreaks && (b == '\r' || b == '\n')) {
                s = PutAsciiBreak(s, e, out);
            } else {
                *out.p++ = static_cast<char16_t>(b);
                ++s;
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

// Copies a run of units below 0x80 (and, with `crLfToLf`, none a control character) as bytes.
template <bool crLfToLf>
size_t CopyAsciiUnits(std::u16string_view text, size_t i, ByteOut& out) {
    const char16_t* t = text.data();
    const size_t n = text.size();
#if defined(__SSE2__)
    const __m128i highMask = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    const __m128i controlLimit = _mm_set1_epi16(0x0E);
    while (n - i >= 8 && out.Left() >= 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
        int ascii = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, highMask), zero));
        if (crLfToLf) ascii &= ~_mm_movemask_epi8(_mm_cmplt_epi16(v, controlLimit));
        if (ascii != 0xFFFF) break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out.p), _mm_packus_epi16(v, v));
        i += 8;
        out.p += 8;
    }
#endif
    while (n - i >= 4 && out.Left() >= 4) {
        uint64_t word;
        std::memcpy(&word, t + i, 8);
        if ((word & 0xFF80FF80FF80FF80ULL) != 0) break;
        if (crLfToLf && ((word - 0x000E000E000E000EULL) & ~word & 0x8000800080008000ULL) != 0) break;
        for (int k = 0; k < 4; ++k) out.p[k] = static_cast<char>(t[i + k]);
        i += 4;
        out.p += 4;
    }
    return i;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

template <bool crLfToLf>
void EncodeUtf8Pieces(std::u16string_view text, ByteOut& out) {
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        i = CopyAsciiUnits<crLfToLf>(text, i, out);
        if (i == n) break;
        auto* o = reinterpret_cast<unsigned char*>(out.Room(4));
        uint32_t c = text[i];
        if (c < 0x80) {
            if (!(crLfToLf && c == kCR && i + 1 < n && text[i + 1] == kLF)) *o++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *o++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (IsHighSurrogate(static_cast<char16_t>(c)) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
            *o++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            if (c >= 0xD800 && c <= 0xDFFF) c = kReplacementChar;  // an unpaired surrogate
            *o++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
        out.p = reinterpret_cast<char*>(o);
        ++i;
    }
}

EncodeLosses EncodeCp1251Pieces(std::u16string_view text, bool crLfToLf, ByteOut& out) {
    static const std::array<unsigned char, 0x10000> table = [] {
        std::array<unsigned char, 0x10000> t{};
        t.fill('?');
        for (unsigned b = 0; b < 0x80; ++b) t[b] = static_cast<unsigned char>(b);
        for (unsigned b = 0x80; b < 0x100; ++b) t[kCp1251High[b - 0x80]] = static_cast<unsigned char>(b);
        return t;
    }();
    EncodeLosses losses;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (crLfToLf && c == kCR && i + 1 < n && text[i + 1] == kLF) continue;
        const unsigned char b = table[c];
        if (b == '?' && c != u'?') {
            if (losses.replaced++ == 0) losses.firstAt = i;
            if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(text[i + 1])) ++i;  // one character
        }
        *out.Room(1) = static_cast<char>(b);
        ++out.p;
    }
    return losses;
}

void EncodeUtf16Pieces(std::u16string_view text, bool bigEndian, bool crLfToLf, ByteOut& out) {
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (crLfToLf && c == kCR && i + 1 < n && text[i + 1] == kLF) continue;
        char* o = out.Room(2);
        o[bigEndian ? 1 : 0] = static_cast<char>(c & 0xFF);
        o[bigEndian ? 0 : 1] = static_cast<char>(c >> 8);
        out.p += 2;
    }
}

}  // namespace

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

EncodeLosses EncodeText(std::u16string_view text, TextEncoding encoding, bool crLfToLf,
                        const std::function<void(std::string_view)>& sink) {
    ByteOut out(sink);
    EncodeLosses losses;
    switch (encoding) {
        case TextEncoding::Utf8:
            if (crLfToLf) {
                EncodeUtf8Pieces<true>(text, out);
            } else {
                EncodeUtf8Pieces<false>(text, out);
            }
            break;
        case TextEncoding::Cp1251:
            losses = EncodeCp1251Pieces(text, crLfToLf, out);
            break;
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            EncodeUtf16Pieces(text, encoding == TextEncoding::Utf16BE, crLfToLf, out);
            break;
    }
    out.Flush();
    return losses;
}

}  // namespace vernalith
