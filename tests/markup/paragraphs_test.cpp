#include "markup/paragraphs.h"

#include <gtest/gtest.h>

#include "support/case_table.h"
#include "support/recording_progress.h"

namespace vernalith {
namespace {

using testing::RecordingProgress;
using testing::T;

struct Case {
    const char* input;
    const char* expected;
};

TEST(InsertParagraphTags, Cases) {
    const Case cases[] = {
        {"", ""},
        {"Первый{CR}{LF}{CR}{LF}Второй", "<p>Первый</p>{CR}{LF}{CR}{LF}<p>Второй</p>{CR}{LF}"},
        {"x", "<p>x</p>{CR}{LF}"},
        {"x{CR}{LF}", "<p>x</p>{CR}{LF}"},
        {"{CR}{LF}", "{CR}{LF}"},
        {"<p>готово</p>", "<p>готово</p>{CR}{LF}"},
        {"<P align=center>x", "<P align=center>x{CR}{LF}"},
        {"см. <pre>", "см. <pre>{CR}{LF}"},
        {"<param>", "<param>{CR}{LF}"},
        {"текст</p>", "<p>текст</p></p>{CR}{LF}"},
        {"<h1>Заголовок</h1>", "<p><h1>Заголовок</h1></p>{CR}{LF}"},
        {"a{CR}b{LF}c", "<p>a</p>{CR}{LF}<p>b</p>{CR}{LF}<p>c</p>{CR}{LF}"},
        {"   ", "<p>   </p>{CR}{LF}"},
        {" a {TAB}", "<p> a {TAB}</p>{CR}{LF}"},
        {"a<", "<p>a<</p>{CR}{LF}"},
        {"<{CR}{LF}p", "<p><</p>{CR}{LF}<p>p</p>{CR}{LF}"},  // the marker does not reach across lines
        {"<<p", "<<p{CR}{LF}"},
        {"x<Pi", "x<Pi{CR}{LF}"},
        {"< p", "<p>< p</p>{CR}{LF}"},
        {"<б", "<p><б</p>{CR}{LF}"},
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return InsertParagraphTags(text, p); });
}

TEST(InsertParagraphTags, KeepsTextAfterU0000) {
    RecordingProgress progress;
    EXPECT_EQ(InsertParagraphTags(std::u16string(u"a\0b\n\0", 5), progress),
              std::u16string(u"<p>a\0b</p>\r\n<p>\0</p>\r\n", 22));
}

TEST(InsertParagraphTags, ReportsBeforeEveryLineThenClears) {
    RecordingProgress progress;
    InsertParagraphTags(T("a{CR}{LF}{CR}{LF}<p>c{CR}{LF}d"), progress);
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"spaced 0", "pump", "spaced 25", "pump", "spaced 50", "pump",
                                                        "spaced 75", "pump", "clear"}));
    RecordingProgress empty;
    InsertParagraphTags(u"", empty);
    EXPECT_EQ(empty.calls, (std::vector<std::string>{"clear"}));
    RecordingProgress eight;  // 1/8 = 12.5 -> 12, 3/8 = 37.5 -> 38, 5/8 = 62.5 -> 62, 7/8 = 87.5 -> 88
    InsertParagraphTags(T("1{LF}2{LF}3{LF}4{LF}5{LF}6{LF}7{LF}8"), eight);
    EXPECT_EQ(eight.Percents(), (std::vector<std::string>{"spaced 0", "spaced 12", "spaced 25", "spaced 38",
                                                          "spaced 50", "spaced 62", "spaced 75", "spaced 88"}));
}

TEST(TagParagraphsForCommand, SelectionWhenThereIsOneElseTheWholeText) {
    RecordingProgress progress;
    const ParagraphEdit part = TagParagraphsForCommand(u"abc", u"x abc y", progress);
    EXPECT_EQ(part.scope, ParagraphScope::Selection);
    EXPECT_EQ(part.text, u"<p>abc</p>\r\n");  // the editor then shows "x <p>abc</p>" CR LF " y"
    EXPECT_EQ(TagParagraphsForCommand(u"a\r\n", u"a\r\nb", progress).text, u"<p>a</p>\r\n");
    const ParagraphEdit whole = TagParagraphsForCommand(u"", u"a\r\nb", progress);
    EXPECT_EQ(whole.scope, ParagraphScope::WholeText);
    EXPECT_EQ(whole.text, u"<p>a</p>\r\n<p>b</p>\r\n");
    EXPECT_EQ(TagParagraphsForCommand(u"", u"", progress).scope, ParagraphScope::WholeText);
}

}  // namespace
}  // namespace vernalith
