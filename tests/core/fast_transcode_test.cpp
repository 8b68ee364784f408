#include "core/fast_transcode.h"

#include <gtest/gtest.h>

#include <random>

#include "core/editor_text.h"
#include "core/encoding.h"

namespace vernalith {
namespace {

// Random bytes shaped like text: long ASCII runs (the block paths), CR and LF in every combination,
// Cyrillic and other valid sequences (U+2028 among them), and stray, truncated or overlong bytes.
// `dense` draws only one- and two-byte characters and line breaks, so that most sixteen-byte blocks
// are decoded whole, with every alignment of a two-byte sequence or a CR LF at a block's end.
std::string RandomBytes(std::mt19937& rng, size_t pieces, bool valid, bool dense = false) {
    static const std::vector<std::string> kDense = {
        "a", " ", "Ж", "ё", "\xC2\x80", "\xDF\xBF", "\r\n", "\r\n", "\r", "\n", "\t",
    };
    static const std::vector<std::string> kValid = {
        "a",
        "Hello, world. ",
        std::string(40, 'x'),
        "\r",
        "\n",
        "\r\n",
        "\n\r",
        "\t",
        std::string(1, '\0'),
        "Ж",
        "ёлка ",
        "€",
        "\xE2\x80\xA8",
        "\xE2\x80\xA8\r\n",
        "\xF0\x9F\x98\x80",
        "\xEF\xBF\xBD",
        "\xC2\x80",
        "\xDF\xBF",
    };
    static const std::vector<std::string> kInvalid = {
        "\xFF", "\x80", "\xC0\xAF", "\xC3", "\xE2\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF0\x9F\x98", "\xC1\xBF",
    };
    std::string bytes;
    for (size_t i = 0; i < pieces; ++i) {
        if (!valid && rng() % 12 == 0) {
            bytes += kInvalid[rng() % kInvalid.size()];
        } else if (!valid && rng() % 20 == 0) {
            bytes += static_cast<char>(rng() % 256);
        } else if (dense) {
            bytes += kDense[rng() % kDense.size()];
        } else {
            bytes += kValid[rng() % kValid.size()];
        }
    }
    return bytes;
}

std::u16string RandomText(std::mt19937& rng, size_t length) {
    // Surrogates come as pairs, alone and in the wrong order.
    static const std::u16string kUnits =
        u"ab ?\r\n\r\nЯяЁ€\u2028\u00A0\u0098\uFFFDZ" + std::u16string{0xD83D, 0xDE00, 0xD800, 0xDC00, 0xDC00, 0xD800};
    std::u16string text;
    for (size_t i = 0; i < length; ++i) {
        text += rng() % 3 == 0 ? kUnits[rng() % kUnits.size()] : static_cast<char16_t>(u'a' + rng() % 26);
    }
    return text;
}

// Equal texts, or where the first difference is (whole texts would fill the screen).
template <typename Text>
testing::AssertionResult SameText(const Text& actual, const Text& expected) {
    if (actual == expected) return testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                       << ", first difference at " << at;
}
testing::AssertionResult Same(const std::optional<std::u16string>& actual,
                              const std::optional<std::u16string>& expected) {
    if (!actual || !expected) {
        return actual.has_value() == expected.has_value() ? testing::AssertionSuccess()
                                                          : testing::AssertionFailure() << "one has no value";
    }
    return SameText(*actual, *expected);
}
testing::AssertionResult Same(const std::string& actual, const std::string& expected) {
    return SameText(actual, expected);
}

std::string Encoded(std::u16string_view text, TextEncoding encoding, bool editorBreaks, bool lfBreaks,
                    EncodeLosses* losses = nullptr) {
    std::string bytes;
    const EncodeLosses found =
        EncodeText(text, encoding, editorBreaks, lfBreaks, [&](std::string_view piece) { bytes += piece; });
    if (losses) *losses = found;
    return bytes;
}

// Every case runs twice: with the processor's byte shuffles (where it has them) and without.
class FastTranscode : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { AllowShuffleInstructions(GetParam()); }
    void TearDown() override { AllowShuffleInstructions(true); }
};

TEST_P(FastTranscode, DecodesAsThePlainFunctionsOnRandomBytes) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 600; ++round) {
        const bool valid = round % 2 == 0;
        // Mostly short strings, some long enough to cross the output buffer's blocks several times.
        const std::string bytes = RandomBytes(rng, round % 50 == 0 ? 30000 : rng() % 200, valid, round % 3 == 1);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << bytes.size() << " bytes");

        const std::optional<std::u16string> plainStrict = DecodeUtf8Strict(bytes);
        size_t invalidAt = SIZE_MAX;
        const std::optional<std::u16string> strict = FastDecodeUtf8(bytes, true, false, &invalidAt);
        EXPECT_TRUE(Same(strict, plainStrict));
        if (valid) {
            EXPECT_TRUE(strict.has_value());
        }
        if (!strict) {
            // The bytes before the offset are valid, and a sequence that is not starts there.
            ASSERT_LT(invalidAt, bytes.size());
            EXPECT_TRUE(DecodeUtf8Strict(bytes.substr(0, invalidAt)).has_value());
            EXPECT_EQ(DecodeUtf8(bytes.substr(invalidAt)).front(), u'\uFFFD');
            EXPECT_FALSE(bytes.substr(invalidAt).starts_with("\xEF\xBF\xBD"));
        } else {
            EXPECT_TRUE(Same(FastDecodeUtf8(bytes, true, true), ToEditorText(*plainStrict)));
        }
        EXPECT_TRUE(Same(FastDecodeUtf8(bytes, false, false), DecodeUtf8(bytes)));
        EXPECT_TRUE(Same(FastDecodeUtf8(bytes, false, true), ToEditorText(DecodeUtf8(bytes))));
        EXPECT_TRUE(Same(FastDecodeCp1251(bytes, false), DecodeCp1251(bytes)));
        EXPECT_TRUE(Same(FastDecodeCp1251(bytes, true), ToEditorText(DecodeCp1251(bytes))));
    }
}

TEST_P(FastTranscode, EncodesAsThePlainFunctionsOnRandomText) {
    std::mt19937 rng(54321);
    for (int round = 0; round < 300; ++round) {
        // Some texts are longer than the one-megabyte output block, so pieces are joined at its seams.
        const std::u16string text = RandomText(rng, round % 100 == 0 ? 700000 : rng() % 300);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << text.size() << " units");
        const std::u16string editor = ToEditorText(text);
        EXPECT_TRUE(Same(Encoded(text, TextEncoding::Utf8, false, false), EncodeUtf8(text)));
        EXPECT_TRUE(Same(Encoded(text, TextEncoding::Utf8, false, true), EncodeUtf8(CrLfToLf(text))));
        EXPECT_TRUE(Same(Encoded(text, TextEncoding::Utf8, true, false), EncodeUtf8(editor)));
        EXPECT_TRUE(Same(Encoded(text, TextEncoding::Utf8, true, true), EncodeUtf8(CrLfToLf(editor))));
        EXPECT_TRUE(
            Same(Encoded(text, TextEncoding::Utf16LE, true, true), Encode(CrLfToLf(editor), TextEncoding::Utf16LE)));
        EXPECT_TRUE(Same(Encoded(text, TextEncoding::Utf16BE, false, false), Encode(text, TextEncoding::Utf16BE)));
        EXPECT_TRUE(
            Same(Encoded(text, TextEncoding::Utf16LE, false, true), Encode(CrLfToLf(text), TextEncoding::Utf16LE)));

        // cp1251: the plain version writes '?' per code unit, this one per character.
        std::u16string oneUnitPerCharacter;
        size_t lacking = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                              text[i + 1] <= 0xDFFF;
            oneUnitPerCharacter += pair ? u'\uFFFF' : text[i];
            if (pair) ++i;
        }
        const std::string plain = EncodeCp1251(oneUnitPerCharacter);
        for (size_t i = 0; i < plain.size(); ++i) lacking += plain[i] == '?' && oneUnitPerCharacter[i] != u'?';
        EncodeLosses losses;
        EXPECT_TRUE(Same(Encoded(text, TextEncoding::Cp1251, false, false, &losses), plain));
        EXPECT_TRUE(Same(Encoded(text, TextEncoding::Cp1251, true, true),
                         Encoded(CrLfToLf(editor), TextEncoding::Cp1251, false, false)));
        EXPECT_EQ(losses.replaced, lacking);
    }
}

TEST_P(FastTranscode, FileBytesFollowTheMarkOrTheirValidity) {
    struct Case {
        std::string bytes;
        std::optional<TextEncoding> encoding;
        std::u16string text;
        std::optional<size_t> notUtf8At;
    };
    const std::vector<Case> cases = {
        {"\xEF\xBB\xBFz\nb", std::nullopt, u"z\r\nb", std::nullopt},
        {std::string("\xFF\xFEz\0\n\0", 6), std::nullopt, u"z\r\n", std::nullopt},
        {std::string("\xFE\xFF\x04\x2F", 4), std::nullopt, u"Я", std::nullopt},
        {"Жа\xC6", std::nullopt, u"\u0420\u2013\u0420\u00B0\u0416", 4},  // the whole text read as cp1251
        {"\xEF\xBB\xBFx", TextEncoding::Utf8, u"x", std::nullopt},
        {"\xEF\xBB\xBFx", TextEncoding::Cp1251, u"\u043F\u00BB\u0457x", std::nullopt},  // not its mark: text
        {"a\rb", TextEncoding::Cp1251, u"a\r\nb", std::nullopt},
    };
    for (const Case& c : cases) {
        const DecodedText decoded = DecodeFileBytes(c.bytes, c.encoding, true);
        EXPECT_EQ(decoded.text, c.text) << c.bytes;
        EXPECT_EQ(decoded.notUtf8At, c.notUtf8At) << c.bytes;
    }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutShuffles, FastTranscode, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Shuffles" : "NoShuffles";
                         });

}  // namespace
}  // namespace vernalith
