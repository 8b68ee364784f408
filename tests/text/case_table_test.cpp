#include "text/case_table.h"

#include <gtest/gtest.h>

namespace vernalith {
namespace {

TEST(CaseTable, ExactlyFiftyNinePairs) {
    int pairs = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const auto unit = static_cast<char16_t>(c);
        if (ToLowerChar(unit) != unit) {
            ++pairs;
            EXPECT_EQ(ToUpperChar(ToLowerChar(unit)), unit);
        }
    }
    EXPECT_EQ(pairs, 59);
}

TEST(CaseTable, Mapping) {
    EXPECT_EQ(ToLowerText(u"ПРИВЕТ Ёж ABC"), u"привет ёж abc");
    EXPECT_EQ(ToLowerText(u"\u0407\u00DF19"), u"\u0407\u00DF19");  // yi, sharp s and digits have no case here
    EXPECT_EQ(CapitalizeFirst(u"привет"), u"Привет");
    EXPECT_EQ(CapitalizeFirst(u"ёлка"), u"Ёлка");
    EXPECT_EQ(CapitalizeFirst(u"1а"), u"1а");
    EXPECT_EQ(CapitalizeFirst(u""), u"");
    EXPECT_EQ(CapitalizeFirst(u"аБВ"), u"АБВ");
}

}  // namespace
}  // namespace vernalith
