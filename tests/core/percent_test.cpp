#include "core/percent.h"

#include <gtest/gtest.h>

namespace vernalith {
namespace {

TEST(Percent, ExactHalvesGoToTheEvenNeighbour) {
    struct Case {
        int64_t numerator, denominator, expected;
    } cases[] = {
        {1, 2, 0}, {3, 2, 2}, {5, 2, 2}, {7, 2, 4}, {1, 3, 0}, {2, 3, 1}, {0, 7, 0}, {9, 1, 9}, {-1, 2, 0}, {-3, 2, -2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundedRatio(c.numerator, c.denominator), c.expected) << c.numerator << "/" << c.denominator;
}

TEST(Percent, Formulas) {
    EXPECT_EQ(PercentOfText(1, 1), 50);   // 1 / 2
    EXPECT_EQ(PercentOfText(1, 199), 0);  // 0.5 -> 0
    EXPECT_EQ(PercentOfText(3, 199), 2);  // 1.5 -> 2
    EXPECT_EQ(PercentOfText(5, 199), 2);  // 2.5 -> 2
    EXPECT_EQ(PercentOfText(199, 199), 100);
    EXPECT_EQ(PercentOfLines(1, 8), 12);  // 12.5 -> 12
    EXPECT_EQ(PercentOfLines(1, 3), 33);
    EXPECT_EQ(PercentOfLines(2, 3), 67);
    EXPECT_EQ(PercentOfLines(0, 1), 0);
    EXPECT_EQ(PercentOfLinesPlusOne(28, 99), 28);
    EXPECT_EQ(PercentOfLinesPlusOne(1, 1), 50);
    EXPECT_EQ(PercentOfLinesPlusOne(3, 7), 38);  // 37.5 -> 38
}

TEST(Percent, LargeTextsDoNotOverflow) { EXPECT_EQ(PercentOfText(int64_t{1} << 40, (int64_t{1} << 41) - 1), 50); }

}  // namespace
}  // namespace vernalith
