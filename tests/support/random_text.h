#pragma once

#include <random>
#include <span>
#include <string>
#include <string_view>

// How many times more random cases the differential tests try than in the normal build. The sanitizer
// build raises it: that is where an out-of-bounds read or an overflow in a fast scan shows.
#ifndef VERNALITH_FUZZ_SCALE
#define VERNALITH_FUZZ_SCALE 1
#endif

namespace vernalith::testing {

// The number of random cases a differential test tries: `normalCount` in the normal build, more in
// the sanitizer build.
constexpr int FuzzCases(int normalCount) { return normalCount * VERNALITH_FUZZ_SCALE; }

// A random text of 0 to maxLength code units drawn from `alphabet`; list a unit more than once to
// make it likelier. For differential tests against the literal versions of the procedures.
inline std::u16string RandomText(std::mt19937& rng, size_t maxLength, std::u16string_view alphabet) {
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::u16string text(length(rng), u' ');
    for (auto& c : text) c = alphabet[pick(rng)];
    return text;
}

// The pieces the cleanup procedures look at: spaces, line breaks of every kind, hyphens, the marks,
// letters of both cases and alphabets, "ё" and "Ё", digits, brackets, guillemets, the quotation mark
// and the abbreviations "т.д" and "т.п".
inline constexpr std::u16string_view kCleanupPieces[] = {
    u" ", u" ", u" ", u"\r", u"\n", u"\r\n", u"\r\n", u"-",   u"-", u".", u"!",
    u"?", u":", u";", u",",  u"a",  u"Z",    u"я",    u"Д",   u"ё", u"Ё", u"7",
    u"(", u")", u"[", u"«",  u"»",  u"\"",   u"т.д",  u"т.п", u"т", u"A", u"\u00A0",
};

// A random text of up to `maxPieces` pieces.
inline std::u16string RandomPieces(std::mt19937& rng, size_t maxPieces,
                                   std::span<const std::u16string_view> pieces = kCleanupPieces) {
    std::uniform_int_distribution<size_t> count(0, maxPieces);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::u16string text;
    for (size_t k = count(rng); k > 0; --k) text += pieces[pick(rng)];
    return text;
}

}  // namespace vernalith::testing
