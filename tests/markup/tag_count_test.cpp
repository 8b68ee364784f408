#include "markup/tag_count.h"

#include <gtest/gtest.h>

#include <random>

#include "core/percent.h"
#include "support/random_text.h"
#include "support/recording_progress.h"
#include "support/reference_fuzz.h"
#include "text/case_table.h"

namespace vernalith {
namespace {

using testing::RecordingProgress;
using testing::T;

// The literal scan: at every 1-based position of the text with a space at each end, the four
// characters there and as many as the custom tag has, each lower-cased and compared. Reports at the
// same step-counter points as the fast scan.
namespace reference {

TagCounts CountTags(std::u16string_view text, std::u16string_view customTag, ProgressReporter& progress, int limit) {
    TagCounts counts;
    counts.customTag = ToLowerText(customTag);
    const std::u16string s = u" " + std::u16string(text) + u" ";
    const size_t length = s.size();
    int count = 0;
    for (size_t i = 1; i <= length; ++i) {
        if (count > limit) {
            progress.ReportPercentSpaced(
                static_cast<int>(RoundedRatio(100 * static_cast<int64_t>(i - 1), static_cast<int64_t>(length))));
            count = 0;
            progress.PumpEvents();
        }
        ++count;
        const std::u16string four = ToLowerText(s.substr(i - 1, 4));
        if (four == u"<h1>") ++counts.h1;
        if (four == u"<h2>") ++counts.h2;
        if (four == u"<h3>") ++counts.h3;
        if (ToLowerText(s.substr(i - 1, counts.customTag.size())) == counts.customTag) ++counts.custom;
    }
    return counts;
}

}  // namespace reference

struct Case {
    const char* text;
    const char* customTag;
    const char* message;
};

TEST(CountTags, Cases) {
    const Case cases[] = {
        {"<H1>Раз</H1><h1>Два</h1><h2>x</h2>", "<h4>",
         "<h1> - 2{LF}{CR}<h2> - 1{LF}{CR}<h3> - 0{LF}{CR}<h4> - 0{LF}{CR}"},
        // The custom tag is shown lower-cased and both cases count.
        {"<h4>a<H4>b<h4", "<H4>", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR}<h4> - 2{LF}{CR}"},
        {"Pp p", "p", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR}p - 3{LF}{CR}"},
        {"", "<h4>", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR}<h4> - 0{LF}{CR}"},
        // An empty custom tag matches at every position of the text with its two added spaces.
        {"", "", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR} - 2{LF}{CR}"},
        {"abc{CR}{LF}", "", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR} - 7{LF}{CR}"},
        // Only exactly "<h1>" counts as a heading tag; a custom "<h1" also finds it with attributes.
        {"<h1 class=x><h1>", "<h1", "<h1> - 1{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR}<h1 - 2{LF}{CR}"},
        // Overlapping matches, and matches across the added spaces.
        {"aaaa", "aa", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR}aa - 3{LF}{CR}"},
        {"a", " a ", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR} a  - 1{LF}{CR}"},
        {"", "  ", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR}   - 1{LF}{CR}"},
        {"abab", "aba", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR}aba - 1{LF}{CR}"},
        {"ЁЛКА ёлка елка", "Ёлка", "<h1> - 0{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR}ёлка - 2{LF}{CR}"},
        {"<h3><H3><h2><h1><h1>", "<h1><h1>", "<h1> - 2{LF}{CR}<h2> - 1{LF}{CR}<h3> - 2{LF}{CR}<h1><h1> - 1{LF}{CR}"},
        {"<h1>", "<h1>x", "<h1> - 1{LF}{CR}<h2> - 0{LF}{CR}<h3> - 0{LF}{CR}<h1>x - 0{LF}{CR}"},
    };
    for (const auto& c : cases) {
        RecordingProgress progress;
        const TagCounts counts = CountTags(T(c.text), T(c.customTag), progress);
        EXPECT_EQ(TagCountMessage(counts), T(c.message)) << c.text << " / " << c.customTag;
        EXPECT_TRUE(progress.calls.empty());  // no caption; the caller clears the percentage
    }
}

TEST(CountTags, ReportsEveryLimitPositionsOfTheTextWithItsSpaces) {
    // 8 positions; with a limit of 1 the report comes before positions 3, 5 and 7: (i - 1) / 8.
    RecordingProgress progress;
    CountTags(u"abcdef", u"x", progress, 1);
    EXPECT_EQ(progress.calls,
              (std::vector<std::string>{"spaced 25", "pump", "spaced 50", "pump", "spaced 75", "pump"}));
}

std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
    static const char16_t alphabet[] = {u'<',  u'<',  u'>', u'>', u'h', u'H', u'1', u'2', u'3', u'4', u' ',
                                        u'\r', u'\n', u'a', u'A', u'Ё', u'ё', u'Я', u'я', u'/', u'p'};
    return testing::RandomText(rng, maxLength, {alphabet, std::size(alphabet)});
}

struct TextAndTag {
    std::u16string text, tag;
};

std::string Readable(const TextAndTag& in) {
    return testing::Readable(in.text) + " with the tag " + testing::Readable(in.tag);
}

TEST(CountTagsFuzz, MatchesTheLiteralScanCountsAndReports) {
    testing::FuzzAgainstReference(
        20260501, 20000, {1, 7},
        [](std::mt19937& rng, int) {
            TextAndTag input;
            input.text = RandomText(rng, 40);
            input.tag = RandomText(rng, 4);
            return input;
        },
        [](const TextAndTag& in, RecordingProgress& p, int limit) {
            return TagCountMessage(CountTags(in.text, in.tag, p, limit));
        },
        [](const TextAndTag& in, RecordingProgress& p, int limit) {
            return TagCountMessage(reference::CountTags(in.text, in.tag, p, limit));
        });
}

TEST(CountTagsFuzz, LongTextAtTheDefaultLimit) {
    std::mt19937 rng(11);
    std::u16string text;
    while (text.size() < 200000) text += RandomText(rng, 60);
    RecordingProgress fast, slow;
    const TagCounts expected = reference::CountTags(text, u"<H", slow, 30000);
    EXPECT_EQ(TagCountMessage(CountTags(text, u"<H", fast)), TagCountMessage(expected));
    EXPECT_EQ(fast.calls, slow.calls);
    EXPECT_EQ(fast.Percents().size(), 6u);
}

}  // namespace
}  // namespace vernalith
