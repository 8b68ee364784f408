#pragma once

#include <cstdint>

namespace vernalith {

// numerator / denominator rounded to the nearest whole number, an exact half going to the even
// neighbour. Computed exactly in integers, so 1/200 * 100 = 0.5 rounds to 0 and 3/200 * 100 to 2.
int64_t RoundedRatio(int64_t numerator, int64_t denominator);

// Share of a text scanned at 1-based position p of a text of length L: p / (L + 1) * 100, rounded.
int PercentOfText(int64_t position, int64_t length);

// k / C * 100, rounded; C must be at least 1.
int PercentOfLines(int64_t index, int64_t count);

// k / (C + 1) * 100, rounded.
int PercentOfLinesPlusOne(int64_t index, int64_t count);

}  // namespace vernalith
