#pragma once

#include <random>
#include <string>
#include <string_view>

namespace vernalith::testing {

// A random text of 0 to maxLength code units drawn from `alphabet`; list a unit more than once to
// make it likelier. For differential tests against the literal versions of the procedures.
inline std::u16string RandomText(std::mt19937& rng, size_t maxLength, std::u16string_view alphabet) {
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::u16string text(length(rng), u' ');
    for (auto& c : text) c = alphabet[pick(rng)];
    return text;
}

}  // namespace vernalith::testing
