#include "text/characters.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/line_list.h"
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

// Literal, slow versions: the working copy is edited in place with 1-based positions, exactly as the
// procedures are described.
namespace reference {

// The literal replacement scan does not end for some pairs; it gives up past any length a scan that
// ends can reach.
struct Endless {};

std::u16string RemoveListedCharacters(const std::u16string& text, std::u16string_view list, ProgressReporter& progress,
                                      int limit) {
    progress.SetStatusCaption(u"удаление символов");
    std::u16string s = text;
    for (const std::u16string& e : SplitLines(ToLowerText(list))) {
        progress.PumpEvents();
        int count = 0;
        if (e.empty()) continue;  // the mended rule: such a line would hold the scan on one position
        const size_t n = e.size();
        for (size_t p = 1; p <= s.size(); ++p) {
            if (ToLowerText(s.substr(p - 1, n)) == e) {
                s.erase(p - 1, n);
                if (p > 1) --p;
            }
            if (++count > limit) {
                progress.ReportPercent(PercentOfText(static_cast<int64_t>(p), static_cast<int64_t>(s.size())));
                progress.PumpEvents();
                count = 0;
            }
        }
        if (s.substr(0, n) == e) s.erase(0, n);
    }
    progress.FinishReport();
    return s;
}

// With `mended` false this is the scan as described, which throws Endless where it would not end; with
// `mended` true it follows the rule for the lines that would never end.
std::u16string ReplaceListedCharacters(const std::u16string& text, std::u16string_view list,
                                       std::u16string_view separator, ProgressReporter& progress, int limit,
                                       bool mended) {
    progress.SetStatusCaption(u"замена символов");
    std::u16string s = text;
    int count = 0;
    for (const std::u16string& line : SplitLines(list)) {
        const size_t at = separator.empty() ? std::u16string::npos : line.find(separator);
        const std::u16string search = at == std::u16string::npos ? u"" : line.substr(0, at);
        const std::u16string replacement = at == std::u16string::npos ? line : line.substr(at + separator.size());
        progress.PumpEvents();
        if (mended && search.empty() && !replacement.empty()) continue;
        const bool skip = mended && !search.empty() && replacement.find(search, 1) != std::u16string::npos;
        const size_t steps = s.size() * (replacement.size() + 1) + 1;
        for (size_t p = 1, step = 1; p <= s.size(); ++step) {
            if (step > steps) throw Endless();
            if (++count > limit) {
                progress.ReportPercent(PercentOfText(static_cast<int64_t>(p), static_cast<int64_t>(s.size())));
                count = 0;
                progress.PumpEvents();
            }
            const bool found = s.substr(p - 1, search.size()) == search;
            if (found) s.replace(p - 1, search.size(), replacement);
            progress.SetGauge(Gauge::Gauge1, PercentOfText(static_cast<int64_t>(p), static_cast<int64_t>(s.size())));
            progress.PumpEvents();
            p += found && skip ? replacement.size() : 1;
        }
    }
    progress.FinishReport();
    return s;
}

}  // namespace reference

struct ListCase {
    const char* list;
    const char* input;
    const char* expected;
};

TEST(RemoveListedCharacters, Cases) {
    const ListCase cases[] = {
        {"и{LF}М", "Привет, мир!", "Првет, р!"},
        {"ABC", "xAbCy", "xy"},
        {"", "abc", "abc"},
        {"x", "", ""},
        {"и{CR}{LF}{CR}{LF}М{CR}", "Привет, мир!", "Првет, р!"},  // empty lines are passed over
        {"{CR}{LF}", "abc", "abc"},
        // The scan looks at the deletion point again, so an occurrence formed across it stays...
        {"ab", "xaabby", "xaby"},
        // ...except at the start, where one more check takes it when it is already lower-case.
        {"ab", "aabb", ""},
        {"AB", "ABab", ""},
        {"ab", "ABAB", "AB"},
        {"aa", "aaaaa", "a"},
        {"Memo1", "Memo1 MEMO1 memo", "  memo"},
        {"ё", "Ёлка ёж", "лка ж"},
        {"\u0457", "\u0407\u0457", "\u0407"},  // no case outside the table
        {"a{LF}b", "abba", ""},                // lines apply one after the other
        {"{CR}", "a{CR}{LF}b", "a{CR}{LF}b"},  // a list line never holds a line break
    };
    testing::RunCaseTable(cases, [](const ListCase& c, RecordingProgress& p) {
        return RemoveListedCharacters(T(c.input), T(c.list), p);
    });
}

TEST(RemoveListedCharacters, PumpsOncePerListLineAndCountsFromZeroForEach) {
    RecordingProgress progress;
    EXPECT_EQ(RemoveListedCharacters(u"abcabc", u"b\n\nc", progress, 2), u"aa");
    // The count goes up after each step, with the position after a step back and the shortened length:
    // line "b" reports at its third step (position 2 of "acabc") and sixth (4 of "acac"); the empty line
    // only pumps; line "c" counts from 0 again and reports at position 2 of "aac".
    EXPECT_EQ(progress.calls,
              (std::vector<std::string>{"caption удаление символов", "pump", "percent 33", "pump", "percent 80", "pump",
                                        "pump", "pump", "percent 50", "pump", "caption статус", "clear"}));
}

TEST(ReplaceListedCharacters, Cases) {
    struct Case {
        const char* list;
        const char* separator;
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"кот,пёс", ",", "кот и кот", "пёс и пёс"},
        {"кот,пёс", ",", "Кот", "Кот"},
        {"ё,е{CR}{LF}Ё,Е", ",", "Ёлка и ёж", "Елка и еж"},
        {"ё=>е", "=>", "ёлка", "елка"},
        {"b,", ",", "abc", "ac"},
        {"a,b,c", ",", "a", "b,c"},  // the first separator splits
        {"a,b{LF}b,c", ",", "ab", "cc"},
        // The scan goes on at the second character of an inserted replacement.
        {"aa,ba", ",", "aaa", "bba"},
        {"ab,xa", ",", "abbb", "xxxa"},
        {"a,ab", ",", "aaa", "ababab"},
        {"", ",", "abc", "abc"},
        {"x,y", ",", "", ""},
        // Lines that would never end: an empty search part with a replacement is passed over...
        {"Memo2", ",", "Memo2 text", "Memo2 text"},
        {",x", ",", "abc", "abc"},
        {"ab", "", "abc", "abc"},
        {",", ",", "abc", "abc"},  // (an empty pair changes nothing, as an empty line)
        // ...and where the search part occurs in the replacement after its first character, the scan goes
        // on after the whole replacement.
        {"a,ba", ",", "aaa", "bababa"},
        {"ab,xab", ",", "abab", "xabxab"},
        {"a,aa", ",", "a-a", "aa-aa"},
        {"a,ba{LF}b,c", ",", "a", "ca"},
    };
    testing::RunCaseTable(cases, [](const Case& c, RecordingProgress& p) {
        return ReplaceListedCharacters(T(c.input), T(c.list), T(c.separator), p);
    });
}

TEST(ReplaceListedCharacters, SetsTheGaugeAndPumpsAtEveryPosition) {
    RecordingProgress progress;
    EXPECT_EQ(ReplaceListedCharacters(u"abc", u"b,", u",", progress, 1), u"ac");
    // The count goes up first, reporting with the length before the replacement (2 of 3: 50); the gauge
    // follows with the length after it (2 of 2: 67). The "c" that moved into position 2 is not looked at.
    EXPECT_EQ(progress.calls,
              (std::vector<std::string>{"caption замена символов", "pump", "gauge1 25", "pump", "percent 50", "pump",
                                        "gauge1 67", "pump", "caption статус", "clear"}));
    RecordingProgress passed;
    EXPECT_EQ(ReplaceListedCharacters(u"abc", u"Memo2", u",", passed), u"abc");
    EXPECT_EQ(passed.calls, (std::vector<std::string>{"caption замена символов", "pump", "caption статус", "clear"}));
}

TEST(ReplaceListedCharacters, SplitsLinesAtTheFirstSeparator) {
    EXPECT_EQ(SplitReplaceLine(u"a=>b=>c", u"=>").search, u"a");
    EXPECT_EQ(SplitReplaceLine(u"a=>b=>c", u"=>").replacement, u"b=>c");
    EXPECT_EQ(SplitReplaceLine(u"abc", u",").search, u"");
    EXPECT_EQ(SplitReplaceLine(u"abc", u",").replacement, u"abc");
    EXPECT_EQ(SplitReplaceLine(u"a,b", u"").search, u"");
    EXPECT_TRUE(ReplacementRescansItself({u"a", u"ba"}));
    EXPECT_TRUE(ReplacementRescansItself({u"ab", u"abab"}));
    EXPECT_FALSE(ReplacementRescansItself({u"aa", u"ba"}));
    EXPECT_FALSE(ReplacementRescansItself({u"a", u"ab"}));
    EXPECT_FALSE(ReplacementRescansItself({u"", u"x"}));
}

// Short lists of short pairs over a small alphabet, so that occurrences, overlaps and replacements that
// contain their search part are frequent. Without a separator the lines are plain sequences.
std::u16string RandomList(std::mt19937& rng, std::u16string_view separator) {
    static constexpr std::u16string_view pieces[] = {u"a", u"a", u"b", u"A", u"ё", u"Ё", u" ", u"."};
    std::uniform_int_distribution<int> lines(0, 3), length(0, 3), coin(0, 9);
    std::u16string list;
    for (int line = lines(rng); line > 0; --line) {
        if (!list.empty()) list += coin(rng) < 5 ? u"\n" : u"\r\n";
        list += testing::RandomPieces(rng, static_cast<size_t>(length(rng)), pieces);
        if (coin(rng) > 0) list += separator;  // now and then a line without it
        list += testing::RandomPieces(rng, static_cast<size_t>(length(rng)), pieces);
    }
    return list;
}

struct ListInput {
    std::u16string text, list, separator;
};

std::string Readable(const ListInput& in) {
    return testing::Readable(in.text) + " with the list " + testing::Readable(in.list) + " and the separator " +
           testing::Readable(in.separator);
}

TEST(CharactersFuzz, RemoveListedMatchesTheLiteralAlgorithm) {
    static constexpr std::u16string_view pieces[] = {u"a", u"b", u"A", u"B", u"ё", u"Ё", u" ", u"\r\n"};
    testing::FuzzAgainstReference(
        77, 20000, {0, 5},
        [](std::mt19937& rng, int) {
            ListInput in;
            in.text = testing::RandomPieces(rng, 16, pieces);
            in.list = RandomList(rng, u"");
            return in;
        },
        [](const ListInput& in, RecordingProgress& p, int limit) {
            return RemoveListedCharacters(in.text, in.list, p, limit);
        },
        [](const ListInput& in, RecordingProgress& p, int limit) {
            return reference::RemoveListedCharacters(in.text, in.list, p, limit);
        });
}

TEST(CharactersFuzz, ReplaceListedMatchesTheLiteralAlgorithmWhereverItEnds) {
    static constexpr std::u16string_view pieces[] = {u"a", u"a", u"b", u"A", u"ё", u" ", u"."};
    // Both comparisons see the same inputs: the generator starts from the same seed for each.
    const auto makeInput = [](std::mt19937& rng, int iteration) {
        static constexpr std::u16string_view separators[] = {u",", u",", u"=>", u"a", u""};
        ListInput in;
        in.text = testing::RandomPieces(rng, 12, pieces);
        in.separator = separators[static_cast<size_t>(iteration) % std::size(separators)];
        in.list = RandomList(rng, in.separator);
        return in;
    };
    const auto fast = [](const ListInput& in, RecordingProgress& p, int limit) {
        return ReplaceListedCharacters(in.text, in.list, in.separator, p, limit);
    };
    testing::FuzzAgainstReference(
        78, 20000, {0, 7}, makeInput, fast, [](const ListInput& in, RecordingProgress& p, int limit) {
            return reference::ReplaceListedCharacters(in.text, in.list, in.separator, p, limit, true);
        });
    // Where the scan as described ends, the rule changes nothing; where it does not, a line of the
    // list is one the rule deals with.
    int endless = 0;
    testing::FuzzAgainstReference(
        78, 20000, {0, 7}, makeInput, fast,
        [&endless](const ListInput& in, RecordingProgress& p, int limit) -> std::optional<std::u16string> {
            try {
                return reference::ReplaceListedCharacters(in.text, in.list, in.separator, p, limit, false);
            } catch (const reference::Endless&) {
                ++endless;
                bool mendedLine = false;
                for (std::u16string_view line : SplitLineViews(in.list)) {
                    const ReplacePair pair = SplitReplaceLine(line, in.separator);
                    mendedLine |= (pair.search.empty() && !pair.replacement.empty()) || ReplacementRescansItself(pair);
                }
                EXPECT_TRUE(mendedLine) << "the literal scan does not end on a list the rule leaves alone";
                return std::nullopt;
            }
        });
    EXPECT_GT(endless, 100);  // the endless kind was met, not only avoided
}

TEST(CharactersFuzz, ReportsOnALongText) {
    std::mt19937 rng(3);
    std::u16string text;
    while (text.size() < 100000) text += testing::RandomPieces(rng, 30);
    const std::u16string removeList = u"т.д\n\n  \nЁ", replaceList = u"т.п,т. п.\n..,.\nab,xa";
    RecordingProgress fast, slow;
    EXPECT_EQ(RemoveListedCharacters(text, removeList, fast),
              reference::RemoveListedCharacters(text, removeList, slow, 30000));
    EXPECT_EQ(fast.calls, slow.calls);
    EXPECT_GE(fast.Percents().size(), 9u);
    RecordingProgress fastReplace, slowReplace;
    EXPECT_EQ(ReplaceListedCharacters(text, replaceList, u",", fastReplace),
              reference::ReplaceListedCharacters(text, replaceList, u",", slowReplace, 30000, false));
    EXPECT_EQ(fastReplace.calls, slowReplace.calls);
}

TEST(ReplaceListedCharacters, EndsOnLinesThatWouldGrowTheTextForEver) {
    const std::u16string text(1 << 20, u'a');
    SilentProgress progress;
    EXPECT_EQ(ReplaceListedCharacters(text, u"a,aa\n,x\nMemo2", u",", progress).size(), size_t{2} << 20);
    EXPECT_EQ(RemoveListedCharacters(text, u"\n\nb", progress), text);
}

}  // namespace
}  // namespace vernalith
