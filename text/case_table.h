#pragma once

#include <string>
#include <string_view>

namespace vernalith {

// The program's only case mapping: 59 letter pairs, "А".."Я" with "а".."я", "Ё" with "ё" and "A".."Z"
// with "a".."z". Every other character has no case. No locale is ever consulted.
constexpr char16_t ToLowerChar(char16_t c) {
    if ((c >= u'А' && c <= u'Я') || (c >= u'A' && c <= u'Z')) return static_cast<char16_t>(c + 0x20);
    if (c == u'Ё') return u'ё';
    return c;
}

constexpr char16_t ToUpperChar(char16_t c) {
    if ((c >= u'а' && c <= u'я') || (c >= u'a' && c <= u'z')) return static_cast<char16_t>(c - 0x20);
    if (c == u'ё') return u'Ё';
    return c;
}

// Every upper-case letter of the table replaced by its lower-case letter; same length.
std::u16string ToLowerText(std::u16string_view text);

// The first character raised to its upper-case letter when it has one; the rest unchanged.
std::u16string CapitalizeFirst(std::u16string_view text);

}  // namespace vernalith
