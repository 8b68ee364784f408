#include "core/procedure_error.h"

#include <gtest/gtest.h>

namespace vernalith {
namespace {

TEST(ParseIntegerSetting, AcceptsWholeNumbers) {
    struct Case {
        const char16_t* text;
        int value;
    } cases[] = {{u"1400", 1400}, {u"-5", -5},   {u"+7", 7}, {u"  12", 12},
                 {u"$10", 16},    {u"0x1F", 31}, {u"0", 0},  {u"2147483647", 2147483647}};
    for (const auto& c : cases) EXPECT_EQ(ParseIntegerSetting(c.text), c.value);
}

TEST(ParseIntegerSetting, RejectsOtherTextWithTheRuntimeMessage) {
    for (const char16_t* text : {u"", u"abc", u"12a", u"1 2", u"2147483648", u"-", u"1.5", u"12 ", u"١٢"}) {
        try {
            ParseIntegerSetting(text);
            ADD_FAILURE() << "accepted";
        } catch (const ProcedureError& error) {
            EXPECT_EQ(error.message(), u"''" + std::u16string(text) + u"'' is not a valid integer value.");
        }
    }
}

}  // namespace
}  // namespace vernalith
