#include "core/encoding.h"

#include <array>
#include <cstdint>

#include "core/transcode_support.h"

namespace vernalith {
namespace {

using transcode::Cp1251EncodeTable;
using transcode::kCp1251High;

// Decodes one UTF-8 sequence at `i`; returns its length, or 0 when it is not valid.
size_t DecodeOne(std::string_view bytes, size_t i, uint32_t& cp) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    return transcode::DecodeUtf8Sequence(data + i, data + bytes.size(), cp);
}

std::optional<std::u16string> DecodeUtf8Impl(std::string_view bytes, bool strict) {
    // Never more code units than bytes: decode into a buffer of that size, then trim.
    std::u16string out(bytes.size(), u'\0');
    char16_t* o = out.data();
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *o++ = b;
            ++i;
            continue;
        }
        uint32_t cp = 0;
        const size_t len = DecodeOne(bytes, i, cp);
        if (len == 0) {
            if (strict) return std::nullopt;
            *o++ = u'\uFFFD';
            ++i;
            continue;
        }
        if (cp < 0x10000) {
            *o++ = static_cast<char16_t>(cp);
        } else {
            cp -= 0x10000;
            *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
        i += len;
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}

}  // namespace

std::string EncodeUtf8(std::u16string_view text) {
    // The exact size first, so a big text is allocated (and its pages touched) only once. A
    // surrogate pair counts 2 + 2 bytes; an unpaired surrogate becomes U+FFFD, three bytes.
    size_t size = 0;
    for (const char16_t c : text) size += c < 0x80 ? 1 : c < 0x800 ? 2 : (c >= 0xD800 && c <= 0xDFFF) ? 2 : 3;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0xD800 || c > 0xDFFF) continue;
        const bool paired = c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (paired) {
            ++i;
        } else {
            ++size;  // 2 counted, 3 needed
        }
    }
    std::string out(size, '\0');
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        uint32_t c = text[i];
        if (c < 0x80) {
            *o++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *o++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
            *o++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;  // an unpaired surrogate
            *o++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes) { return DecodeUtf8Impl(bytes, true); }

std::u16string DecodeUtf8(std::string_view bytes) { return *DecodeUtf8Impl(bytes, false); }

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out;
    out.reserve(bytes.size() / 2 + 1);
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        out.push_back(static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
    }
    if (i < bytes.size()) out.push_back(u'\uFFFD');  // a dangling odd byte
    return out;
}

std::string EncodeUtf16LE(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

std::u16string DecodeCp1251(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = b < 0x80 ? static_cast<char16_t>(b) : kCp1251High[b - 0x80];
    }
    return out;
}

std::string EncodeCp1251(std::u16string_view text) {
    const std::array<unsigned char, 0x10000>& table = Cp1251EncodeTable();
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(table[text[i]]);
    return out;
}

std::u16string Decode(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return DecodeUtf8(bytes);
        case TextEncoding::Utf16LE:
            return DecodeUtf16(bytes, false);
        case TextEncoding::Utf16BE:
            return DecodeUtf16(bytes, true);
        case TextEncoding::Cp1251:
            return DecodeCp1251(bytes);
    }
    return {};
}

std::string Encode(std::u16string_view text, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return EncodeUtf8(text);
        case TextEncoding::Utf16LE:
            return EncodeUtf16LE(text);
        case TextEncoding::Utf16BE: {
            std::string le = EncodeUtf16LE(text);
            for (size_t i = 0; i + 1 < le.size(); i += 2) std::swap(le[i], le[i + 1]);
            return le;
        }
        case TextEncoding::Cp1251:
            return EncodeCp1251(text);
    }
    return {};
}

std::optional<ByteOrderMark> DetectByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return ByteOrderMark{TextEncoding::Utf8, 3};
    if (bytes.starts_with("\xFF\xFE")) return ByteOrderMark{TextEncoding::Utf16LE, 2};
    if (bytes.starts_with("\xFE\xFF")) return ByteOrderMark{TextEncoding::Utf16BE, 2};
    return std::nullopt;
}

std::u16string DecodeWithMarkOrAnsi(std::string_view bytes) {
    if (auto mark = DetectByteOrderMark(bytes)) return Decode(bytes.substr(mark->length), mark->encoding);
    return DecodeCp1251(bytes);
}

std::u16string DecodeAuto(std::string_view bytes) {
    if (auto mark = DetectByteOrderMark(bytes)) return Decode(bytes.substr(mark->length), mark->encoding);
    if (auto utf8 = DecodeUtf8Strict(bytes)) return *std::move(utf8);
    return DecodeCp1251(bytes);
}

}  // namespace vernalith
