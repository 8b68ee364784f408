#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <type_traits>

#include "support/random_text.h"
#include "support/recording_progress.h"

namespace vernalith::testing {

// The step limit of one iteration: `first + iteration % cycle`. Small limits make the progress reports
// frequent, so the report sequences are compared as well as the results.
struct StepLimits {
    int first = 0;
    int cycle = 1;

    int At(int iteration) const { return first + iteration % cycle; }
};

template <typename T>
struct IsOptional : std::false_type {};
template <typename T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <typename Input, typename Result>
void CompareRuns(int iteration, const Input& input, const Result& result, const Result& expected,
                 const RecordingProgress& fast, const RecordingProgress& slow) {
    EXPECT_EQ(result, expected) << "iteration " << iteration << ", input: " << Readable(input);
    EXPECT_EQ(fast.calls, slow.calls) << "iteration " << iteration << ", input: " << Readable(input);
}

// Runs FuzzCases(normalCount) random inputs through a fast procedure and its literal reference version
// and compares the results and the whole progress-call sequences.
// - `makeInput(rng, iteration)` draws one input (a text, or a struct of a text and its other
//   arguments) from a generator seeded with `seed`; `Readable(input)` must describe it.
// - `fast(input, progress, limit)` and `slow(input, progress, limit)` run the two versions with
//   the iteration's step limit. `slow` may return std::optional: std::nullopt means the reference
//   has no verdict on this input (for instance, it would not end), and only `fast` runs.
// On the first mismatch, or on a failure inside the callbacks, it reports the iteration and the
// input and returns; it does nothing when the test has already failed.
template <typename MakeInput, typename Fast, typename Slow>
void FuzzAgainstReference(uint32_t seed, int normalCount, StepLimits limits, MakeInput makeInput, Fast fast,
                          Slow slow) {
    if (::testing::Test::HasFailure()) return;
    std::mt19937 rng(seed);
    for (int iteration = 0; iteration < FuzzCases(normalCount); ++iteration) {
        const auto input = makeInput(rng, iteration);
        const int limit = limits.At(iteration);
        RecordingProgress fastProgress, slowProgress;
        const auto result = fast(input, fastProgress, limit);
        const auto expected = slow(input, slowProgress, limit);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "failed within iteration " << iteration << ", input: " << Readable(input);
            return;
        }
        if constexpr (IsOptional<std::remove_cvref_t<decltype(expected)>>::value) {
            if (expected) CompareRuns(iteration, input, result, *expected, fastProgress, slowProgress);
        } else {
            CompareRuns(iteration, input, result, expected, fastProgress, slowProgress);
        }
        if (::testing::Test::HasFailure()) return;
    }
}

}  // namespace vernalith::testing
