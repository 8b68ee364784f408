#include "text/line_list_operations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/line_list.h"
#include "core/percent.h"
#include "support/case_table.h"
#include "support/random_text.h"
#include "support/recording_progress.h"
#include "support/reference_fuzz.h"
#include "text/line_collation.h"

namespace vernalith {
namespace {

using testing::RecordingProgress;
using testing::T;

std::u16string Sorted(std::u16string_view text, const std::string& locale) {
    SilentProgress quiet;
    return SortLines(text, locale, quiet);
}

// Literal, slow versions: the line list is edited in place, lines compared one pair at a time.
namespace reference {

std::u16string SortLines(const std::u16string& text, const std::string& locale) {
    std::vector<std::u16string> lines = SplitLines(text);
    const LineCollator collator(locale);
    std::stable_sort(lines.begin(), lines.end(),
                     [&](const std::u16string& a, const std::u16string& b) { return collator.Compare(a, b) < 0; });
    return JoinLines(lines);
}

std::u16string RemoveDuplicateLines(const std::u16string& text, ProgressReporter& progress) {
    std::vector<std::u16string> lines = SplitLines(text);
    if (lines.size() < 2) return JoinLines(lines);
    for (size_t i = 0; i < lines.size(); ++i) {
        progress.PumpEvents();
        for (size_t j = i + 1; j < lines.size();) {
            if (lines[j] == lines[i]) {
                lines.erase(lines.begin() + static_cast<ptrdiff_t>(j));
            } else {
                ++j;
            }
        }
        progress.PumpEvents();
        progress.ReportPercent(PercentOfLines(static_cast<int64_t>(i), static_cast<int64_t>(lines.size())));
        progress.PumpEvents();
    }
    std::u16string result = JoinLines(lines);
    progress.ClearPercent();
    return result;
}

std::u16string AddLinePrefixSuffix(const std::u16string& text, const std::u16string& prefix,
                                   const std::u16string& suffix, ProgressReporter& progress, int limit) {
    std::vector<std::u16string> lines = SplitLines(text);
    int counter = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (counter > limit) {
            progress.ReportPercent(PercentOfLines(static_cast<int64_t>(i), static_cast<int64_t>(lines.size())));
            counter = 0;
        }
        ++counter;
        progress.PumpEvents();
        lines[i] = prefix + lines[i] + suffix;
    }
    std::u16string result = JoinLines(lines);
    progress.ClearPercent();
    return result;
}

}  // namespace reference

// RemoveDuplicateLines leaves out a report that repeats the figure on the panel; otherwise its calls
// are the literal ones.
std::vector<std::string> WithoutRepeatedPercents(const std::vector<std::string>& calls) {
    std::vector<std::string> out;
    std::string shown;
    for (const auto& call : calls) {
        if (call.starts_with("percent ")) {
            if (call == shown) continue;
            shown = call;
        }
        out.push_back(call);
    }
    return out;
}

std::vector<std::u16string_view> Lines(const std::u16string& text) { return SplitLineViews(text); }

struct SortCase {
    const char* locale;
    const char* input;
    const char* expected;
};

TEST(SortLines, Cases) {
    const SortCase cases[] = {
        {"ru_RU", "", ""},
        {"ru_RU", "строка", "строка{CR}{LF}"},
        {"ru_RU", "в{CR}{LF}а{CR}{LF}б", "а{CR}{LF}б{CR}{LF}в{CR}{LF}"},
        {"ru_RU", "в{CR}{LF}Б{CR}{LF}а", "а{CR}{LF}Б{CR}{LF}в{CR}{LF}"},
        {"ru_RU", "б{CR}{LF}а{CR}{LF}{CR}{LF}", "{CR}{LF}а{CR}{LF}б{CR}{LF}"},
        {"ru_RU", "в{CR}а{LF}б{LF}{CR}", "{CR}{LF}а{CR}{LF}б{CR}{LF}в{CR}{LF}"},
        {"ru_RU", "ж{CR}{LF}Ё{CR}{LF}е{CR}{LF}ё{CR}{LF}Е", "е{CR}{LF}Е{CR}{LF}Ё{CR}{LF}ё{CR}{LF}ж{CR}{LF}"},
        {"ru_RU", "b{CR}{LF}я{CR}{LF}A{CR}{LF}а", "а{CR}{LF}я{CR}{LF}A{CR}{LF}b{CR}{LF}"},
        {"en_US", "b{CR}{LF}я{CR}{LF}A{CR}{LF}а", "A{CR}{LF}b{CR}{LF}а{CR}{LF}я{CR}{LF}"},
        {"ru_RU", "x{CR}{LF}2{CR}{LF}{CR}{LF}10{CR}{LF}1", "{CR}{LF}1{CR}{LF}10{CR}{LF}2{CR}{LF}x{CR}{LF}"},
        // Lines equal but for letter case keep their order.
        {"ru_RU", "Да{CR}{LF}да{CR}{LF}ДА{CR}{LF}а", "а{CR}{LF}Да{CR}{LF}да{CR}{LF}ДА{CR}{LF}"},
        {"ru_RU", "ab {CR}{LF}ab", "ab{CR}{LF}ab {CR}{LF}"},
    };
    testing::RunCaseTable(cases, [](const SortCase& c, RecordingProgress& progress) {
        return SortLines(T(c.input), c.locale, progress);
    });
}

// Whatever the locale, letters follow their alphabet, case is ignored and the empty line comes first.
// The POSIX locale included, whose own ICU order would put every capital before every small letter.
TEST(SortLines, AlphabetOrderWithoutCaseInEveryLocale) {
    for (const char* locale : {"ru_RU", "en_US", "de_DE", "sv_SE", "", "root", "C", "en_US_POSIX", "xx_YY", "@#!"}) {
        EXPECT_EQ(Sorted(u"в\r\nБ\r\n\r\nа", locale), u"\r\nа\r\nБ\r\nв\r\n") << locale;
        EXPECT_EQ(Sorted(u"b\nA\nC\na\n1", locale), u"1\r\nA\r\na\r\nb\r\nC\r\n") << locale;
    }
}

// A long sort lets events through now and then although it reports nothing, so a stop ends it early.
TEST(SortLines, ManyLinesLetAStopThrough) {
    class StopAtThirdPump : public SilentProgress {
    public:
        void PumpEvents() override {
            if (++pumps == 3) throw RunCancelled();
        }
        int pumps = 0;
    };
    std::u16string text;
    for (int i = 0; i < 300000; ++i) text += u"строка " + DecodeUtf8(std::to_string(i * 7919LL % 300000)) + u"\r\n";
    StopAtThirdPump progress;
    EXPECT_THROW(SortLines(text, "ru_RU", progress), RunCancelled);
    RecordingProgress recorded;
    SortLines(text, "ru_RU", recorded);
    for (const auto& call : recorded.calls) EXPECT_EQ(call, "pump") << "a sort reports nothing";
}

TEST(SortLines, KeepsTextAfterU0000) {
    const std::u16string text(u"b\0x\na\0y\n", 8);
    const std::u16string sorted = Sorted(text, "ru_RU");
    ASSERT_EQ(sorted.size(), 10u);
    EXPECT_EQ(Lines(sorted),
              (std::vector<std::u16string_view>{std::u16string_view(u"a\0y", 3), std::u16string_view(u"b\0x", 3)}));
}

TEST(RemoveDuplicateLines, Cases) {
    const struct {
        const char* input;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"строка", "строка{CR}{LF}"},
        {"a{CR}{LF}A{CR}{LF}a{CR}{LF}a ", "a{CR}{LF}A{CR}{LF}a {CR}{LF}"},
        {"x{CR}{LF}{CR}{LF}y{CR}{LF}{CR}{LF}z", "x{CR}{LF}{CR}{LF}y{CR}{LF}z{CR}{LF}"},
        {"да{CR}{LF}да{CR}{LF}да", "да{CR}{LF}"},
        {"a{CR}b{LF}a{CR}{LF}b{LF}{CR}", "a{CR}{LF}b{CR}{LF}{CR}{LF}"},
        {"ё{CR}{LF}Ё{CR}{LF}е{CR}{LF}ё", "ё{CR}{LF}Ё{CR}{LF}е{CR}{LF}"},
        {"a{TAB}{CR}{LF}a{CR}{LF}a{TAB}", "a{TAB}{CR}{LF}a{CR}{LF}"},
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return RemoveDuplicateLines(text, p); });
}

TEST(RemoveDuplicateLines, ComparesU0000AndWholeLines) {
    SilentProgress progress;
    const std::u16string text(u"a\0b\na\0c\na\0b\na", 13);
    EXPECT_EQ(RemoveDuplicateLines(text, progress), std::u16string(u"a\0b\r\na\0c\r\na\r\n", 13));
}

TEST(RemoveDuplicateLines, Progress) {
    {
        RecordingProgress progress;  // fewer than two lines: nothing shown, nothing cleared
        RemoveDuplicateLines(u"строка\r\n", progress);
        EXPECT_TRUE(progress.calls.empty());
    }
    {
        RecordingProgress progress;
        RemoveDuplicateLines(u"да\r\nда\r\nда", progress);
        EXPECT_EQ(progress.calls, (std::vector<std::string>{"pump", "pump", "percent 0", "pump", "clear"}));
    }
    {
        RecordingProgress progress;  // the share is of the lines left after the removals so far
        RemoveDuplicateLines(u"a\nb\nb\nb\nc", progress);
        EXPECT_EQ(progress.Percents(), (std::vector<std::string>{"percent 0", "percent 33", "percent 67"}));
    }
}

TEST(AddLinePrefixSuffix, Cases) {
    struct Case {
        const char* prefix;
        const char* suffix;
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"", ".", "", ""},
        {"", ".", "строка", "строка.{CR}{LF}"},
        {"", ".", "один{CR}{LF}{CR}{LF}два", "один.{CR}{LF}.{CR}{LF}два.{CR}{LF}"},
        {"", ".", "один.", "один..{CR}{LF}"},
        {"", "", "a{CR}b{LF}c{LF}{CR}d{CR}{LF}", "a{CR}{LF}b{CR}{LF}c{CR}{LF}{CR}{LF}d{CR}{LF}"},
        {"<li> ", " </li>", "x{LF}", "<li> x </li>{CR}{LF}"},
        {"- ", "", " a{CR}{LF}{CR}{LF}", "-  a{CR}{LF}- {CR}{LF}"},
        {"{TAB}", "{CR}", "a{CR}{LF}b", "{TAB}a{CR}{CR}{LF}{TAB}b{CR}{CR}{LF}"},
    };
    testing::RunCaseTable(cases, [](const Case& c, RecordingProgress& p) {
        return AddLinePrefixSuffix(T(c.input), T(c.prefix), T(c.suffix), p);
    });
}

TEST(AddLinePrefixSuffix, ReportsEvery28LinesAndPumpsEveryLine) {
    std::u16string text;
    for (int i = 0; i < 100; ++i) text += u"строка\r\n";
    RecordingProgress progress;
    AddLinePrefixSuffix(text, u"", u".", progress);
    EXPECT_EQ(progress.Percents(), (std::vector<std::string>{"percent 28", "percent 56", "percent 84"}));
    EXPECT_EQ(std::count(progress.calls.begin(), progress.calls.end(), "pump"), 100);
    EXPECT_EQ(progress.calls[28], "percent 28");  // after the pumps of lines 0 to 27
    EXPECT_EQ(progress.calls.back(), "clear");
    RecordingProgress empty;
    AddLinePrefixSuffix(u"", u"", u".", empty);
    EXPECT_EQ(empty.calls, (std::vector<std::string>{"clear"}));
}

// Random short texts of a few distinct lines, so that repeats, empty lines and case-only differences
// are common.
std::u16string RandomLines(std::mt19937& rng, size_t maxLength, std::u16string_view alphabet) {
    return testing::RandomText(rng, maxLength, alphabet);
}

struct LinesInput {
    std::u16string text, prefix, suffix;
};

std::string Readable(const LinesInput& in) {
    return testing::Readable(in.text) + " with the prefix " + testing::Readable(in.prefix) + " and the suffix " +
           testing::Readable(in.suffix);
}

TEST(LineListFuzz, MatchesTheLiteralAlgorithmsTextAndReports) {
    static const char16_t letters[] = u"aAb \r\n\n\r\n\t\0ёЁ";
    static const std::u16string alphabet(letters, std::size(letters) - 1);
    // Both procedures see the same inputs: the generator starts from the same seed for each.
    const auto makeInput = [](std::mt19937& rng, int) {
        LinesInput in;
        in.text = RandomLines(rng, 30, alphabet);
        in.prefix = RandomLines(rng, 2, u"-ab ");
        in.suffix = RandomLines(rng, 2, u".ab\r");
        return in;
    };
    // Removing duplicates has no step limit; the fast version reports a percentage only when it changes.
    testing::FuzzAgainstReference(
        20261210, 20000, {0, 5}, makeInput,
        [](const LinesInput& in, RecordingProgress& p, int) { return RemoveDuplicateLines(in.text, p); },
        [](const LinesInput& in, RecordingProgress& p, int) {
            RecordingProgress literal;
            std::u16string result = reference::RemoveDuplicateLines(in.text, literal);
            p.calls = WithoutRepeatedPercents(literal.calls);
            return result;
        });
    testing::FuzzAgainstReference(
        20261210, 20000, {0, 5}, makeInput,
        [](const LinesInput& in, RecordingProgress& p, int limit) {
            return AddLinePrefixSuffix(in.text, in.prefix, in.suffix, p, limit);
        },
        [](const LinesInput& in, RecordingProgress& p, int limit) {
            return reference::AddLinePrefixSuffix(in.text, in.prefix, in.suffix, p, limit);
        });
}

TEST(LineListFuzz, ManyLinesWithFewDistinct) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> pick(0, 299);
    std::u16string text;
    for (int i = 0; i < 3000; ++i) text += u"line " + DecodeUtf8(std::to_string(pick(rng))) + u"\r\n";
    RecordingProgress fast, slow;
    EXPECT_EQ(RemoveDuplicateLines(text, fast), reference::RemoveDuplicateLines(text, slow));
    EXPECT_EQ(fast.calls, WithoutRepeatedPercents(slow.calls));
    EXPECT_LT(fast.Percents().size(), 101u);
    EXPECT_LT(fast.Percents().size(), slow.Percents().size());
}

// Thousands of distinct lines, many the start of another ("line 1", "line 12"), with every kind of
// line break and no break after the last: the line index grows, and in the sort is dropped and rebuilt.
TEST(LineListFuzz, ManyDistinctLinesWithMixedBreaks) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, 2499);
    static const std::u16string_view breaks[] = {u"\r\n", u"\r", u"\n"};
    std::u16string text;
    for (int i = 0; i < 4000; ++i) {
        if (i > 0) text += breaks[rng() % 3];
        text += (rng() % 2 ? u"line " : u"LINE ") + DecodeUtf8(std::to_string(pick(rng)));
    }
    RecordingProgress fast, slow;
    EXPECT_EQ(RemoveDuplicateLines(text, fast), reference::RemoveDuplicateLines(text, slow));
    EXPECT_EQ(fast.calls, WithoutRepeatedPercents(slow.calls));
    EXPECT_EQ(Sorted(text, "ru_RU"), reference::SortLines(text, "ru_RU"));
}

// The fast sort orders by sort keys; the literal one by pairwise comparison. Both keep equal lines in
// input order, so their results agree exactly. The result is also checked against the order itself.
TEST(LineListFuzz, SortMatchesPairwiseComparison) {
    std::mt19937 rng(11);
    static const char16_t letters[] = u"aAbBzZаАбБеЕёЁяЯ019 -'\r\n\n\u0301\u00E9\0\xD800\u4E00";
    const std::u16string alphabet(letters, std::size(letters) - 1);
    for (const char* locale : {"ru_RU", "en_US", "", "en_US_POSIX", "sv_SE"}) {
        const LineCollator collator(locale);
        for (int iteration = 0; iteration < testing::FuzzCases(2000); ++iteration) {
            const std::u16string text = RandomLines(rng, 60, alphabet);
            const std::u16string sorted = Sorted(text, locale);
            ASSERT_EQ(sorted, reference::SortLines(text, locale)) << locale << " " << iteration;
            const auto out = Lines(sorted);
            for (size_t i = 1; i < out.size(); ++i) ASSERT_LE(collator.Compare(out[i - 1], out[i]), 0);
            auto in = Lines(text);
            auto sortedOut = out;
            std::sort(in.begin(), in.end());
            std::sort(sortedOut.begin(), sortedOut.end());
            ASSERT_EQ(in, sortedOut) << locale << " " << iteration;
        }
    }
}

// Long lines take keys longer than the first guess of the key buffer.
TEST(SortLines, LongLines) {
    std::u16string a(5000, u'я'), b(5000, u'Я'), c(5000, u'я');
    b.back() = u'a';
    c.back() = u'Ё';
    EXPECT_EQ(Sorted(a + u"\n" + b + u"\n" + c, "ru_RU"), c + u"\r\n" + a + u"\r\n" + b + u"\r\n");
}

}  // namespace
}  // namespace vernalith
