#include "core/percent.h"

namespace vernalith {

int64_t RoundedRatio(int64_t numerator, int64_t denominator) {
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    int64_t quotient = numerator / denominator;
    int64_t remainder = numerator % denominator;
    if (remainder < 0) {  // floor division for negative numerators
        quotient -= 1;
        remainder += denominator;
    }
    const int64_t twice = remainder * 2;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0)) ++quotient;
    return quotient;
}

int PercentOfText(int64_t position, int64_t length) {
    return static_cast<int>(RoundedRatio(position * 100, length + 1));
}

int PercentOfLines(int64_t index, int64_t count) {
    return count < 1 ? 0 : static_cast<int>(RoundedRatio(index * 100, count));
}

int PercentOfLinesPlusOne(int64_t index, int64_t count) {
    return static_cast<int>(RoundedRatio(index * 100, count + 1));
}

}  // namespace vernalith
