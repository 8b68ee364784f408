#pragma once

#include <string>
#include <string_view>

namespace vernalith {

// The editor's text model: what reading the whole text back gives after the whole text was replaced
// by `text`. Every line break (CR LF, lone CR, lone LF, and U+2028 together with a CR and then an LF
// directly after it) becomes CR LF; every other character, U+0000 included, stays.
std::u16string ToEditorText(std::u16string_view text);

// True when every line break in `text` already is CR LF and it holds no U+2028, so that
// ToEditorText would return it unchanged.
bool HasOnlyCrLfBreaks(std::u16string_view text);

// `text` as the editor holds it once inserted at the selection: every CR LF, lone CR and lone LF
// becomes CR LF; every other character (U+2028 and U+0000 included) stays.
std::u16string WithCrLfBreaks(std::u16string_view text);

// Converts every CR LF to LF (for writing files with LF line breaks).
std::u16string CrLfToLf(std::u16string_view text);

}  // namespace vernalith
