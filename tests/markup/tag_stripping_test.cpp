#include "markup/tag_stripping.h"

#include <gtest/gtest.h>

#include <random>

#include "core/percent.h"
#include "support/case_table.h"
#include "support/random_text.h"
#include "support/recording_progress.h"
#include "support/reference_fuzz.h"

namespace vernalith {
namespace {

using testing::RecordingProgress;
using testing::T;

namespace reference {

// The scan as described: a working copy edited in place, 1-based position p, the step counter run
// at the start of every examination, percentages against the input length.
std::u16string StripHtmlTags(std::u16string t, ProgressReporter& progress, int limit) {
    progress.SetStatusCaption(u"удаление html разметки");
    const int64_t inputLength = static_cast<int64_t>(t.size());
    int count = 0;
    size_t p = 1;
    while (p < t.size()) {
        if (count > limit) {
            progress.ReportPercent(PercentOfText(static_cast<int64_t>(p), inputLength));
            count = 0;
            progress.PumpEvents();
        }
        ++count;
        if (t[p - 1] == u'<') {
            const size_t q = t.find(u'>', p - 1);  // 0-based index of the ">"
            if (q != std::u16string::npos) {
                t.erase(p - 1, q - (p - 1) + 1);
                continue;
            }
        }
        ++p;
    }
    progress.FinishReport();
    return t;
}

}  // namespace reference

struct Case {
    const char* input;
    const char* expected;
};

TEST(StripHtmlTags, Cases) {
    const Case cases[] = {
        {"", ""},
        {"a<b>c</b>d", "acd"},
        {"<p>Текст</p>", "Текст"},
        {"x < y", "x < y"},
        {"a > b", "a > b"},
        {"<<b>>", ">"},
        {"<!-- a > b -->", " b -->"},
        {"<a{CR}{LF}href=1>x", "x"},
        {"<b>x", "x"},
        {"<i><b>x", "x"},
        {"a&nbsp;b", "a&nbsp;b"},
        {"a{CR}{LF}<br>{CR}{LF}b", "a{CR}{LF}{CR}{LF}b"},
        {"<", "<"},
        {"<>", ""},
        {"x<>", "x"},
        {"a<b", "a<b"},
        {"a<b<c>d", "ad"},
        {"<x <y> <z>", " "},     // a "<" takes the first ">" after it, past another "<"
        {"x<y z<w", "x<y z<w"},  // once a "<" finds no ">", nothing after it goes either
        {"<b>>", ">"},
        {"<b>", ""},
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return StripHtmlTags(text, p); },
        std::vector<std::string>{"caption удаление html разметки", "caption статус", "clear"});
}

TEST(StripHtmlTags, U0000IsAnOrdinaryCharacter) {
    RecordingProgress progress;
    EXPECT_EQ(StripHtmlTags(std::u16string(u"a\0<\0>b\0", 7), progress), std::u16string(u"a\0b\0", 4));
}

std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
    static const char16_t alphabet[] = {u'<', u'<', u'>', u'>', u'a', u'b', u' ', u'\r', u'\n', u'/', u'Я', u'\0'};
    return testing::RandomText(rng, maxLength, {alphabet, std::size(alphabet)});
}

TEST(StripHtmlTagsFuzz, MatchesTheLiteralScanTextAndReports) {
    testing::FuzzAgainstReference(
        31337, 30000, {0, 8}, [](std::mt19937& rng, int) { return RandomText(rng, 40); },
        [](const std::u16string& text, RecordingProgress& p, int limit) { return StripHtmlTags(text, p, limit); },
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return reference::StripHtmlTags(text, p, limit);
        });
}

TEST(StripHtmlTagsFuzz, ReportsEvery30000StepsOnALongText) {
    // Long runs without tags, some tags, and an unmatched "<" two thirds in, after which the scan
    // still steps through every position.
    std::u16string text;
    for (int i = 0; i < 150000; ++i) {
        text += (i % 997 == 0) ? u"<b class=\"x\">" : u"слово ";
        if (i == 100000) text += u"x < y";
    }
    RecordingProgress fast, slow;
    EXPECT_EQ(StripHtmlTags(text, fast), reference::StripHtmlTags(text, slow, 30000));
    EXPECT_EQ(fast.calls, slow.calls);
    EXPECT_GE(fast.Percents().size(), 25u);
}

}  // namespace
}  // namespace vernalith
