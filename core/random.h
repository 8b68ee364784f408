#pragma once

#include <cstdint>
#include <random>

namespace vernalith {

// The pseudo-random numbers a procedure draws (the article split). The program seeds one generator
// once at start-up; tests inject fixed sequences.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A whole number in [0, range); 0 when range is 0.
    virtual uint32_t NextBelow(uint32_t range) = 0;
};

class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(uint64_t seed) : engine_(seed) {}
    uint32_t NextBelow(uint32_t range) override {
        if (range == 0) return 0;
        return std::uniform_int_distribution<uint32_t>(0, range - 1)(engine_);
    }

private:
    std::mt19937_64 engine_;
};

}  // namespace vernalith
