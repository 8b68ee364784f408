#include "text/punctuation.h"

#include <gtest/gtest.h>

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

// The literal, slow version: the working copy is edited in place with 1-based positions, exactly as the
// procedure is described; every forward scan walks character by character.
namespace reference {

bool IsMark(char16_t c) { return std::u16string_view(u",.:;!?").find(c) != std::u16string_view::npos; }

std::u16string RemoveRepeatedPunctuation(std::u16string s, ProgressReporter& progress, int limit) {
    progress.SetStatusCaption(u"удаление повторяющейся пунктуации");
    int count = 0;
    auto endOfStep = [&](size_t p) {
        if (count > limit) {
            progress.ReportPercent(PercentOfText(static_cast<int64_t>(p), static_cast<int64_t>(s.size())));
            count = 0;
            progress.PumpEvents();
        }
        ++count;
    };
    for (size_t p = 1; p <= s.size();) {
        if (p + 1 <= s.size() && s[p - 1] == s[p] && IsMark(s[p - 1])) {
            s.erase(p - 1, 1);
            if (p > 1) --p;
        }
        ++p;
        endOfStep(p);
    }
    auto scan = [&](size_t q) {
        while (q < s.size()) {
            const char16_t lowered = ToLowerChar(s[q - 1]);
            if (lowered >= u'A' && lowered <= u'я') break;
            if (IsMark(s[q - 1])) s.erase(q - 1, 1);
            ++q;
        }
    };
    count = 0;
    scan(1);
    for (size_t p = 1; p <= s.size();) {
        if (s[p - 1] == u'\n') scan(p);
        ++p;
        endOfStep(p);
    }
    progress.FinishReport();
    return s;
}

}  // namespace reference

struct Case {
    const char* input;
    const char* expected;
};

TEST(RemoveRepeatedPunctuation, Cases) {
    const Case cases[] = {
        {"", ""},
        {".", "."},
        {"Что?? Да!! Нет... , ,", "Что? Да! Нет. , ,"},
        {"abc!!{CR}{LF}!!def", "abc!{CR}{LF}def"},
        {".{CR}{LF}.{CR}{LF}Текст", "{CR}{LF}{CR}{LF}Текст"},
        {"Он сказал: нет.{CR}{LF}- Да!", "Он сказал: нет.{CR}{LF}- Да!"},
        {"?!", "!"},  // the last character is never examined
        {"a?!b", "a?!b"},
        {"x;;;;y ::: z", "x;y : z"},
        {"{CR}{LF}1. Пункт", "{CR}{LF}1 Пункт"},  // digits do not stop the scan
        {"{CR}{LF}2.5 кг", "{CR}{LF}25 кг"},
        {"2010.{CR}{LF}Текст", "2010{CR}{LF}Текст"},
        {"x{CR}{LF}.,abc", "x{CR}{LF},abc"},  // the mark after a deleted one is passed over
        {"x{LF}.a,b", "x{LF}ab"},             // so is a letter, and the scan goes on
        {"{CR}{LF}Ё, лес", "{CR}{LF}Ё лес"},  // "Ё" is no letter here
        {"...abc", ".abc"},
        {"{LF}1.{LF}2.{LF}x", "{LF}1{LF}2{LF}x"},
        {"«Да», сказал он.{CR}{LF}(1), (2).", "«Да», сказал он.{CR}{LF}(1) (2)."},  // the scan crosses lines
        {"a{CR}.b", "a{CR}.b"},                                                     // a lone CR starts no scan
        {"a{LF}.b", "a{LF}b"},
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return RemoveRepeatedPunctuation(text, p); },
        std::vector<std::string>{"caption удаление повторяющейся пунктуации", "caption статус", "clear"});
}

TEST(PunctuationFuzz, MatchesTheLiteralAlgorithmTextAndReports) {
    static constexpr std::u16string_view pieces[] = {u".",    u".",  u",", u"!", u"?", u":", u";", u"\n", u"\n",
                                                     u"\r\n", u"\r", u" ", u"1", u"a", u"Я", u"ё", u"Ё",  u"-"};
    testing::FuzzAgainstReference(
        9090, 40000, {0, 6},
        [](std::mt19937& rng, int iteration) {
            return testing::RandomPieces(
                rng, 24, iteration % 2 ? std::span<const std::u16string_view>(pieces) : testing::kCleanupPieces);
        },
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return RemoveRepeatedPunctuation(text, p, limit);
        },
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return reference::RemoveRepeatedPunctuation(text, p, limit);
        });
}

TEST(PunctuationFuzz, ReportsEvery30000StepsOnALongText) {
    std::mt19937 rng(8);
    std::u16string text;
    while (text.size() < 100000) text += testing::RandomPieces(rng, 30);
    RecordingProgress fast, slow;
    EXPECT_EQ(RemoveRepeatedPunctuation(text, fast), reference::RemoveRepeatedPunctuation(text, slow, 30000));
    EXPECT_EQ(fast.calls, slow.calls);
    EXPECT_GE(fast.Percents().size(), 4u);
}

TEST(RemoveRepeatedPunctuation, LongRunsOfLinesWithoutLettersEnd) {
    // Every line feed starts a scan that runs on to the one letter at the end. The scan from the start
    // passes over the comma after the first deleted full stop, and no later scan comes back to it; the
    // scans from the line feeds delete everything else.
    auto lines = [](int count, std::u16string_view line, std::u16string_view first) {
        std::u16string text(first);
        for (int i = 1; i < count; ++i) text += line;
        return text + u"конец";
    };
    RecordingProgress progress, slow;
    EXPECT_EQ(RemoveRepeatedPunctuation(lines(300000, u"1.,\n", u"1.,\n"), progress), lines(300000, u"1\n", u"1,\n"));
    EXPECT_EQ(RemoveRepeatedPunctuation(lines(2000, u"1.,\n", u"1.,\n"), progress),
              reference::RemoveRepeatedPunctuation(lines(2000, u"1.,\n", u"1.,\n"), slow, 30000));
}

}  // namespace
}  // namespace vernalith
