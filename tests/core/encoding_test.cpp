#include "core/encoding.h"

#include <gtest/gtest.h>

namespace vernalith {
namespace {

TEST(Encoding, Utf8RoundTripsEveryPlane) {
    const std::u16string text = u"abc Это ё — \U0001F600 \u2028";
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(text)), text);
    EXPECT_EQ(DecodeUtf8Strict(EncodeUtf8(text)), text);
}

TEST(Encoding, StrictUtf8RejectsInvalidBytes) {
    for (const char* bad : {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xFF", "\xD0", "abc\xCF"}) {
        EXPECT_FALSE(DecodeUtf8Strict(bad).has_value()) << bad;
    }
    EXPECT_EQ(DecodeUtf8("a\xFF"
                         "b"),
              u"a\uFFFDb");
}

TEST(Encoding, Cp1251) {
    EXPECT_EQ(DecodeCp1251("\xC0\xFF\xA8\xB8\x98\x88"), u"АяЁё\u0098€");
    EXPECT_EQ(EncodeCp1251(u"АяЁё€ a"), "\xC0\xFF\xA8\xB8\x88 a");
    EXPECT_EQ(EncodeCp1251(u"漢\u2028"), "??");  // characters the code page lacks become '?'
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(EncodeCp1251(DecodeCp1251(all)), all);
}

TEST(Encoding, ByteOrderMarkDecides) {
    EXPECT_EQ(DecodeWithMarkOrAnsi("\xEF\xBB\xBF\xD0\xAD"), u"Э");
    EXPECT_EQ(DecodeWithMarkOrAnsi("\xFF\xFE\x2D\x04"), u"Э");
    EXPECT_EQ(DecodeWithMarkOrAnsi("\xFE\xFF\x04\x2D"), u"Э");
    EXPECT_EQ(DecodeWithMarkOrAnsi("\xD0\xAD"), u"Р\u00AD");  // without a mark: the ANSI code page
    EXPECT_EQ(DecodeAuto("\xD0\xAD"), u"Э");                  // valid UTF-8 wins in auto mode
    EXPECT_EQ(DecodeAuto("\xDD\xF2\xEE"), u"Это");            // otherwise cp1251
    EXPECT_EQ(DecodeUtf16("\x41", false), u"\uFFFD");         // a dangling byte is not lost silently
}

}  // namespace
}  // namespace vernalith
