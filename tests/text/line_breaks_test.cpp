#include "text/line_breaks.h"

#include <gtest/gtest.h>

#include "core/chars.h"
#include "core/percent.h"
#include "support/case_table.h"
#include "support/literal_counter.h"
#include "support/random_text.h"
#include "support/recording_progress.h"
#include "support/reference_fuzz.h"

namespace vernalith {
namespace {

using testing::RecordingProgress;
using testing::T;

// Literal, slow versions: the working copy is edited in place with 1-based positions, exactly as the
// procedures are described. The fast versions must give the same text and the same reports.
namespace reference {

using Counter = testing::LiteralStepCounter;

std::u16string RemoveHyphenation(std::u16string s, ProgressReporter& progress, int limit) {
    progress.SetStatusCaption(u"удаление переносов");
    Counter counter{progress, limit};
    // The character at index k: position k, and position 1 for k = 0.
    auto at = [&](size_t k) { return s[(k == 0 ? 1 : k) - 1]; };
    for (size_t v = 0; v < s.size(); ++v) {
        counter.Step(v, s.size());
        if (at(v) != u'-') continue;
        for (size_t j = 0; v + j < s.size(); ++j) {
            const char16_t c = at(v + j);
            if (c == u'\r') {
                const size_t from = v == 0 ? 1 : v;  // delete positions from .. v + j + 1
                s.erase(from - 1, v + j + 1 - from + 1);
                break;
            }
            if (c != u' ' && c != u'-') break;
            if (j > 5) break;
        }
    }
    progress.FinishReport();
    return s;
}

std::u16string RemoveExtraLineBreaks(std::u16string s, ProgressReporter& progress, int limit) {
    progress.SetStatusCaption(u"удаление переходов на новую строку");
    Counter counter{progress, limit};
    for (size_t p = 1; p < s.size(); ++p) {
        counter.Step(p, s.size());
        if (s[p - 1] != u'\r') continue;
        for (size_t back = p - 1; back >= 1; --back) {
            const char16_t c = s[back - 1];
            if (c >= u'A' && c <= u'я') {
                s[p - 1] = u' ';  // the CR and its line feed become one space
                s.erase(p, 1);
                break;
            }
            if (c == u'.' || c == u'!' || c == u'?' || c == u':' || c == u';') break;
        }
    }
    progress.FinishReport();
    return s;
}

}  // namespace reference

struct Case {
    const char* input;
    const char* expected;
};

TEST(RemoveHyphenation, Cases) {
    const Case cases[] = {
        {"", ""},
        {"перено-{CR}{LF}сить", "переносить"},
        {"перено- {CR}{LF}сить", "переносить"},
        {"слово -{CR}{LF}слово", "слово слово"},  // the space before the hyphen stays
        {"-{CR}{LF}Текст", "Текст"},
        {"a-{CR}{LF}b-{CR}{LF}c", "abc"},
        {"a--{CR}{LF}b", "ab"},
        {"a- - -{CR}{LF}b", "ab"},
        {"сло-     {CR}{LF}во", "слово"},                  // five spaces still join
        {"сло-      {CR}{LF}во", "сло-      {CR}{LF}во"},  // six do not
        {"сло-x{CR}{LF}во", "сло-x{CR}{LF}во"},
        // The character that moves into the hyphen's place is not examined...
        {"a-{CR}{LF}-{CR}{LF}b", "a-{CR}{LF}b"},
        // ...except at the start, where the first two steps both look at position 1.
        {"-{CR}{LF}-{CR}{LF}X", "X"},
        {"-{CR}{LF}-{CR}{LF}-{CR}{LF}X", "-{CR}{LF}X"},
        // The first step's look-ahead sees position 1 twice, so it reaches one character less far: five
        // spaces after a leading hyphen are joined by the second step, which then leaves the next hyphen.
        {"-    {CR}{LF}-{CR}{LF}x", "x"},
        {"-     {CR}{LF}-{CR}{LF}x", "-{CR}{LF}x"},
        {"-      {CR}{LF}x", "-      {CR}{LF}x"},
        {"a-{LF}b", "a-{LF}b"},  // a lone line feed is no line break
        {"a-{CR}", "a-{CR}"},    // the final CR is never reached
        {"a-{CR}{LF}", "a"},     // ...but one before the last character is
        {"a-{CR}bc", "ac"},      // the character after a lone CR goes as its line feed
        {"слово - слово", "слово - слово"},
        {"-", "-"},
        {"a\u2010{CR}{LF}b", "a\u2010{CR}{LF}b"},  // only the hyphen-minus counts
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return RemoveHyphenation(text, p); },
        std::vector<std::string>{"caption удаление переносов", "caption статус", "clear"});
}

TEST(RemoveExtraLineBreaks, Cases) {
    const Case cases[] = {
        {"", ""},
        {"Это первая{CR}{LF}строка текста.{CR}{LF}Вторая", "Это первая строка текста.{CR}{LF}Вторая"},
        {"abc{CR}{LF}{CR}{LF}def", "abc  def"},
        {"abc.{CR}{LF}{CR}{LF}def", "abc.{CR}{LF}{CR}{LF}def"},
        {"Глава 1{CR}{LF}Текст", "Глава 1 Текст"},
        {"итог: 25{CR}{LF}далее", "итог: 25{CR}{LF}далее"},
        {"Привет{CR}{LF}", "Привет "},
        {"a?{CR}{LF}b", "a?{CR}{LF}b"},
        {"a;{CR}{LF}b", "a;{CR}{LF}b"},
        {"a...{CR}{LF}b", "a...{CR}{LF}b"},
        {"конец){CR}{LF}b", "конец) b"},
        {"«цитата»{CR}{LF}b", "«цитата» b"},  // guillemets lie in the letter range
        {"всё{CR}{LF}b", "всё b"},            // "ё" is passed over, "с" decides
        {"a\"{CR}{LF}b", "a\" b"},
        {"a, {CR}{LF}b", "a,  b"},
        {"123{CR}{LF}456", "123{CR}{LF}456"},
        {"ё{CR}{LF}x", "ё{CR}{LF}x"},
        {"Ё{CR}{LF}x", "Ё x"},
        {"a{LF}b", "a{LF}b"},
        {"Привет{CR}", "Привет{CR}"},
        {"{CR}{LF}a", "{CR}{LF}a"},
        {"a{CR}bc", "a c"},  // the character after a lone CR goes as its line feed
        {"x.{CR}{LF}1{CR}{LF}2{CR}{LF}y", "x.{CR}{LF}1{CR}{LF}2{CR}{LF}y"},
        {"x{CR}{LF}1{CR}{LF}2{CR}{LF}y", "x 1 2 y"},
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return RemoveExtraLineBreaks(text, p); },
        std::vector<std::string>{"caption удаление переходов на новую строку", "caption статус", "clear"});
}

TEST(LineBreaksFuzz, MatchesTheLiteralAlgorithmsTextAndReports) {
    static constexpr std::u16string_view pieces[] = {u" ",  u" ", u"-", u"-", u"-",  u"\r\n",   u"\r\n", u"\r",
                                                     u"\n", u"a", u"Я", u"ё", u"Ё",  u".",      u"?",    u";",
                                                     u",",  u"7", u")", u"«", u"\"", u"- \r\n", u"-\r\n"};
    // Both procedures see the same texts: the generator starts from the same seed for each.
    const auto makeText = [](std::mt19937& rng, int iteration) {
        return testing::RandomPieces(
            rng, 24, iteration % 2 ? std::span<const std::u16string_view>(pieces) : testing::kCleanupPieces);
    };
    testing::FuzzAgainstReference(
        20260315, 30000, {0, 6}, makeText,
        [](const std::u16string& text, RecordingProgress& p, int limit) { return RemoveHyphenation(text, p, limit); },
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return reference::RemoveHyphenation(text, p, limit);
        });
    testing::FuzzAgainstReference(
        20260315, 30000, {0, 6}, makeText,
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return RemoveExtraLineBreaks(text, p, limit);
        },
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return reference::RemoveExtraLineBreaks(text, p, limit);
        });
}

TEST(LineBreaksFuzz, ReportsEvery30000StepsOnALongText) {
    std::mt19937 rng(11);
    std::u16string text;
    while (text.size() < 150000) text += testing::RandomPieces(rng, 40);
    RecordingProgress fast, slow;
    EXPECT_EQ(RemoveHyphenation(text, fast), reference::RemoveHyphenation(text, slow, 30000));
    EXPECT_EQ(fast.calls, slow.calls);
    EXPECT_GE(fast.Percents().size(), 3u);
    RecordingProgress fastBreaks, slowBreaks;
    EXPECT_EQ(RemoveExtraLineBreaks(text, fastBreaks), reference::RemoveExtraLineBreaks(text, slowBreaks, 30000));
    EXPECT_EQ(fastBreaks.calls, slowBreaks.calls);
}

TEST(RemoveExtraLineBreaks, LongRunsOfLinesWithoutLettersEnd) {
    // The walk back is never repeated: a text of many number lines after one word is joined whole.
    std::u16string text = u"слово";
    for (int i = 0; i < 200000; ++i) text += u"\r\n12";
    RecordingProgress progress;
    const std::u16string result = RemoveExtraLineBreaks(text, progress);
    EXPECT_EQ(result.find(u'\r'), std::u16string::npos);
    EXPECT_EQ(result.size(), text.size() - 200000);
}

}  // namespace
}  // namespace vernalith
