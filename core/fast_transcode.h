#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/encoding.h"

namespace vernalith {

// Bytes to text and back for whole files, in one pass each, with fast paths for runs of ASCII (eight
// bytes at a time) and for two-byte UTF-8 sequences (Cyrillic). Results are those of the plain
// functions in core/encoding.h, composed with ToEditorText where `editorBreaks` is set.

// UTF-8 to UTF-16. Strict: returns nullopt at the first invalid sequence and stores its byte offset
// in `invalidAt`. Lenient (`strict` false): each invalid byte becomes U+FFFD, as DecodeUtf8 does.
// With `editorBreaks` every line break becomes CR LF by the editor's rule (see ToEditorText).
std::optional<std::u16string> FastDecodeUtf8(std::string_view bytes, bool strict, bool editorBreaks,
                                             size_t* invalidAt = nullptr);

// Code page 1251 to UTF-16, optionally with the editor's line breaks.
std::u16string FastDecodeCp1251(std::string_view bytes, bool editorBreaks);

// Where a text was read from and how: the decoded text, and when automatic detection fell back to
// cp1251 because the bytes are not valid UTF-8, the offset of the first invalid byte.
struct DecodedText {
    std::u16string text;
    std::optional<size_t> notUtf8At;
};

// Decodes a whole file: with `encoding` unset a byte-order mark decides (and is dropped), else valid
// UTF-8, else cp1251 (as DecodeAuto); with `editorBreaks`, the result is ToEditorText of that.
DecodedText DecodeFileBytes(std::string_view bytes, std::optional<TextEncoding> encoding, bool editorBreaks);

// What encoding a text lost: characters the code page lacks (a surrogate pair counts once), and the
// offset in the text (code units) of the first of them.
struct EncodeLosses {
    size_t replaced = 0;
    size_t firstAt = 0;
};

// Encodes `text` piece by piece (pieces of at most a megabyte) and hands each piece to `sink`. With
// `editorBreaks` every line break is written as the editor holds it (as ToEditorText gives it): CR LF,
// or LF with `lfBreaks`. Without, the text is written as it is, except that `lfBreaks` writes each CR LF
// as LF. Returns what cp1251 could not hold ('?' each).
EncodeLosses EncodeText(std::u16string_view text, TextEncoding encoding, bool editorBreaks, bool lfBreaks,
                        const std::function<void(std::string_view)>& sink);

// Where the processor has SSSE3, runs of one- and two-byte characters are decoded and encoded with its
// byte shuffles, else eight bytes at a time. Tests turn the shuffles off to check the other path too.
void AllowShuffleInstructions(bool allowed);

}  // namespace vernalith
