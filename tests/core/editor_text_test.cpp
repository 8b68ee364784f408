#include "core/editor_text.h"

#include <gtest/gtest.h>

#include "support/recording_progress.h"

namespace vernalith {
namespace {

using testing::T;

TEST(EditorText, EveryBreakReadsBackAsCrLf) {
    struct Case {
        const char* input;
        const char* read;
    } cases[] = {
        {"", ""},
        {"a", "a"},
        {"a{CR}{LF}b", "a{CR}{LF}b"},
        {"a{CR}b{LF}c", "a{CR}{LF}b{CR}{LF}c"},
        {"a{CR}{LF}", "a{CR}{LF}"},  // a final break shows an empty last line
        {"{LF}", "{CR}{LF}"},
        {"a{LF}{CR}b", "a{CR}{LF}{CR}{LF}b"},
        {"a\u2028b", "a{CR}{LF}b"},
        {"a\u2028{CR}{LF}b", "a{CR}{LF}b"},  // CR LF right after U+2028 belong to its break
        {"a\u2028{LF}b", "a{CR}{LF}b"},
        {"a\u2028{CR}b", "a{CR}{LF}b"},
        {"a\u2028\u2028b", "a{CR}{LF}{CR}{LF}b"},
        {"a{TAB}\u2029b", "a{TAB}\u2029b"},  // the paragraph separator is an ordinary character
    };
    for (const auto& c : cases) {
        const std::u16string read = ToEditorText(T(c.input));
        EXPECT_EQ(read, T(c.read)) << c.input;
        EXPECT_EQ(ToEditorText(read), read) << "reading back is stable: " << c.input;
    }
}

TEST(EditorText, KeepsU0000) {
    const std::u16string text(u"a\0b\nc", 5);
    EXPECT_EQ(ToEditorText(text), std::u16string(u"a\0b\r\nc", 6));
}

TEST(EditorText, InsertedTextGetsCrLfBreaksOnly) {
    EXPECT_EQ(WithCrLfBreaks(u"a\r\nb\rc\nd\n\re\r\r"), u"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n");
    EXPECT_EQ(WithCrLfBreaks(std::u16string(u"x\u2028y\0", 4)), std::u16string(u"x\u2028y\0", 4));
    EXPECT_EQ(WithCrLfBreaks(u""), u"");
}

TEST(EditorText, CrLfToLf) {
    EXPECT_EQ(CrLfToLf(T("a{CR}{LF}b{CR}{LF}")), T("a{LF}b{LF}"));
    EXPECT_EQ(CrLfToLf(T("a{CR}b")), T("a{CR}b"));
}

}  // namespace
}  // namespace vernalith
