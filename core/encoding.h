#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vernalith {

enum class TextEncoding { Utf8, Utf16LE, Utf16BE, Cp1251 };

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);
// Strict UTF-8 to UTF-16; nullopt when the bytes are not valid UTF-8.
std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes);
// Lenient UTF-8 to UTF-16: each invalid byte becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);
std::string EncodeUtf16LE(std::u16string_view text);

// Code page 1251, the program's ANSI code page. A character the code page lacks is written as '?'.
std::u16string DecodeCp1251(std::string_view bytes);
std::string EncodeCp1251(std::u16string_view text);

std::u16string Decode(std::string_view bytes, TextEncoding encoding);
std::string Encode(std::u16string_view text, TextEncoding encoding);

// The encoding a byte-order mark names, and the mark's length; nullopt without a mark.
struct ByteOrderMark {
    TextEncoding encoding;
    size_t length;
};
std::optional<ByteOrderMark> DetectByteOrderMark(std::string_view bytes);

// How files are read: a byte-order mark decides (and is dropped), otherwise the ANSI code page.
std::u16string DecodeWithMarkOrAnsi(std::string_view bytes);
// As above, but bytes without a mark that are valid UTF-8 are read as UTF-8.
std::u16string DecodeAuto(std::string_view bytes);

}  // namespace vernalith
