#pragma once

#include <cstdint>
#include <string>

namespace vernalith {

// A whole number in decimal, as the messages and labels show it ("-" for negatives, no grouping).
inline std::u16string DecimalText(int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace vernalith
