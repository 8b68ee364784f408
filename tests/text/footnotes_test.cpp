#include "text/footnotes.h"

#include <gtest/gtest.h>

#include <random>

#include "core/percent.h"
#include "support/case_table.h"
#include "support/random_text.h"
#include "support/recording_progress.h"
#include "support/reference_fuzz.h"
#include "text/case_table.h"

namespace vernalith {
namespace {

using testing::RecordingProgress;
using testing::T;

// The literal, slow version: the text is edited in place with 1-based positions, every piece compared
// with a marker is lowered first.
namespace reference {

std::u16string RemoveFootnotes(std::u16string s, std::u16string_view startMarker, std::u16string_view endMarker,
                               ProgressReporter& progress, int limit) {
    progress.SetStatusCaption(u"удаление сносок");
    const std::u16string start = ToLowerText(startMarker);
    const std::u16string end = ToLowerText(endMarker);
    // The `count` characters from position `from` on, fewer where s ends sooner.
    auto piece = [&s](size_t from, size_t count) {
        return ToLowerText(std::u16string_view(s).substr(from - 1, count));
    };
    int counter = 0;
    for (size_t p = 1; p <= s.size(); ++p) {
        if (piece(p, start.size()) == start) {
            for (size_t a = p + start.size(); a <= p + start.size() + 16 && a <= s.size(); ++a) {
                if (piece(a, end.size()) == end) {
                    s.erase(p - 1, a + end.size() - p);  // p through a + |E| - 1
                    break;
                }
            }
        }
        if (counter > limit) {
            progress.ReportPercent(PercentOfText(static_cast<int64_t>(p), static_cast<int64_t>(s.size())));
            counter = 0;
            progress.PumpEvents();
        }
        ++counter;
    }
    progress.FinishReport();
    return s;
}

}  // namespace reference

TEST(RemoveFootnotes, Cases) {
    struct Case {
        const char* start;
        const char* end;
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"(см. рис", ")", "", ""},
        {"(см. рис", ")", "на рисунке (см. рис. 5) видно", "на рисунке  видно"},
        {"(см. рис", ")", "видно (СМ. РИС. 12) дальше", "видно  дальше"},
        {"(СМ. Рис", ")", "видно (см. рис. 12) дальше", "видно  дальше"},
        {"(см. рис", ")", "видно (см. рис. 5)", "видно "},
        {"(см. рис", ")", "(см. рис. 5)", ""},
        {"(см. рис", ")", "x (см. рис. 10, 11, 12, 13) y", "x  y"},
        {"(см. рис", ")", "x (см. рис. 10, 11, 12, 134) y", "x (см. рис. 10, 11, 12, 134) y"},
        {"(см. рис", ")", "x (см. рис. 5 и далее без конца", "x (см. рис. 5 и далее без конца"},
        {"(см. рис", ")", "x(см. рис. (см. рис. 1)) y", "x) y"},
        {"(см. рис", ")", "x(см. рис. 1)(см. рис. 2) y", "x(см. рис. 2) y"},
        {"(см. рис", ")", "x (см. рис. 1) и (см. рис. 2) y", "x  и  y"},
        {"(см. рис", ")", "a (см.{CR}{LF}рис. 5) b (см. рис{CR}{LF}5{CR}{LF}) c", "a (см.{CR}{LF}рис. 5) b  c"},
        {"(см. рис", ")", "(см. рис", "(см. рис"},
        {"(см. рис", ")", "(см. рис)", ""},
        {"[x", "x]", "[x] и [x]", ""},
        {"[x", "x]", "[x]", "[x]"},
        {"(см. рис", "", "a (см. рис. 5) b", "a . 5) b"},
        {"(см. рис", "", "a (см. рис", "a (см. рис"},
        {"", ")", "ab) cd) ef", "  ef"},
        {"", "", "ab) cd", "ab) cd"},
        {"(", ")", "((((((((((((((((((((x))", "(((()"},  // the fifth "(" is the first within 16 of ")"
        // Only the case table's letters have a case: "ё" matches "Ё", the Ukrainian "Ї" not "ї".
        {"ёж", ".", "a ЁЖ 1. b Ї", "a  b Ї"},
        {"ї", ".", "a Ї 1. b ї.", "a Ї 1. b "},
    };
    testing::RunCaseTable(
        cases, [](const Case& c, RecordingProgress& p) { return RemoveFootnotes(T(c.input), T(c.start), T(c.end), p); },
        {"caption удаление сносок", "caption статус", "clear"});
}

TEST(RemoveFootnotes, U0000IsAnOrdinaryCharacter) {
    SilentProgress progress;
    const std::u16string text(u"a\0(b\0) c", 8);
    EXPECT_EQ(RemoveFootnotes(text, u"(", u")", progress), std::u16string(u"a\0 c", 4));
    EXPECT_EQ(RemoveFootnotes(text, std::u16string(u"\0(", 2), u")", progress), u"a c");
}

using testing::RandomText;

struct FootnoteInput {
    std::u16string text, start, end;
};

std::string Readable(const FootnoteInput& in) {
    return testing::Readable(in.text) + " between " + testing::Readable(in.start) + " and " + testing::Readable(in.end);
}

std::u16string RunFast(const FootnoteInput& in, RecordingProgress& progress, int limit) {
    return RemoveFootnotes(in.text, in.start, in.end, progress, limit);
}

std::u16string RunReference(const FootnoteInput& in, RecordingProgress& progress, int limit) {
    return reference::RemoveFootnotes(in.text, in.start, in.end, progress, limit);
}

// Short markers over a small alphabet, so that starts, ends, overlaps, repeats and windows of every
// size are common; a small step limit so that the report sequences are compared too.
TEST(FootnotesFuzz, MatchesTheLiteralAlgorithmTextAndReports) {
    static const char16_t letters[] = u"(()))xXсС \r\n\0";
    static const std::u16string alphabet(letters, std::size(letters) - 1);
    testing::FuzzAgainstReference(
        20261211, 30000, {0, 6},
        [](std::mt19937& rng, int) {
            FootnoteInput in;
            in.text = RandomText(rng, 60, alphabet);
            in.start = RandomText(rng, 3, alphabet);
            in.end = RandomText(rng, 2, alphabet);
            return in;
        },
        RunFast, RunReference);
}

// Markers with repeated parts (where a naive restart would miss a match) over a two-letter text.
TEST(FootnotesFuzz, SelfOverlappingMarkers) {
    testing::FuzzAgainstReference(
        3, 10000, {2, 1},
        [](std::mt19937& rng, int) {
            FootnoteInput in;
            in.text = RandomText(rng, 80, u"aAb");
            in.start = RandomText(rng, 5, u"aab");
            in.end = RandomText(rng, 4, u"abb");
            return in;
        },
        RunFast, RunReference);
}

TEST(FootnotesFuzz, ReportsEvery30000StepsOnALongText) {
    std::mt19937 rng(8);
    std::u16string text;
    while (text.size() < 200000) text += RandomText(rng, 40, u"abc ") + u"(см. рис. 4)";
    RecordingProgress fast, slow;
    EXPECT_EQ(RemoveFootnotes(text, u"(СМ. РИС", u")", fast),
              reference::RemoveFootnotes(text, u"(СМ. РИС", u")", slow, 30000));
    EXPECT_EQ(fast.calls, slow.calls);
    EXPECT_GE(fast.Percents().size(), 2u);
}

}  // namespace
}  // namespace vernalith
