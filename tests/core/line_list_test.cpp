#include "core/line_list.h"

#include <gtest/gtest.h>

#include "support/recording_progress.h"

namespace vernalith {
namespace {

using testing::T;

struct SplitCase {
    const char* input;
    std::vector<const char*> lines;
};

TEST(LineList, SplitsAtEveryKindOfBreak) {
    const SplitCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a{CR}{LF}", {"a"}},
        {"a{CR}{LF}{CR}{LF}", {"a", ""}},
        {"{CR}{LF}", {""}},
        {"x{CR}y{LF}z", {"x", "y", "z"}},
        {"x{LF}{CR}y", {"x", "", "y"}},  // LF then CR are two breaks
        {"x{CR}{CR}{LF}y", {"x", "", "y"}},
        {"a{CR}", {"a"}},
        {"{LF}{LF}", {"", ""}},
        {"  a  {TAB}{CR}{LF}b", {"  a  \t", "b"}},
    };
    for (const auto& c : cases) {
        std::vector<std::u16string> expected;
        for (const char* line : c.lines) expected.push_back(T(line));
        EXPECT_EQ(SplitLines(T(c.input)), expected) << c.input;
    }
}

TEST(LineList, KeepsU0000AsAnOrdinaryCharacter) {
    const std::u16string text(u"a\0b\r\nc", 6);
    const auto lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::u16string(u"a\0b", 3));
    EXPECT_EQ(lines[1], u"c");
}

TEST(LineList, JoinPutsCrLfAfterEveryLine) {
    EXPECT_EQ(JoinLines(std::vector<std::u16string>{}), u"");
    EXPECT_EQ(JoinLines(std::vector<std::u16string>{u""}), u"\r\n");
    EXPECT_EQ(JoinLines(std::vector<std::u16string>{u"a", u"b"}), u"a\r\nb\r\n");
    EXPECT_EQ(JoinLines(SplitLineViews(T("x{CR}y{LF}z"))), T("x{CR}{LF}y{CR}{LF}z{CR}{LF}"));
}

}  // namespace
}  // namespace vernalith
