#pragma once

#include <string>
#include <string_view>

namespace vernalith {

inline constexpr char16_t kCR = u'\r';
inline constexpr char16_t kLF = u'\n';
inline constexpr char16_t kSpace = u' ';
inline constexpr char16_t kLineSeparator = u'\u2028';
inline constexpr std::u16string_view kCRLF = u"\r\n";

// The letter range used as the letter test by several procedures: "A" (U+0041) to "я" (U+044F).
// It holds the Latin and basic Cyrillic letters and "Ё", and the signs and Latin-1 characters between
// them; digits and "ё" (U+0451) lie outside it.
constexpr bool InLetterRange(char16_t c) { return c >= u'\u0041' && c <= u'\u044F'; }

}  // namespace vernalith
