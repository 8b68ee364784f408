#include "text/whitespace.h"

#include <gtest/gtest.h>

#include <random>

#include "core/line_list.h"
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

// Literal, slow versions: the text is edited in place with 1-based positions, exactly as the
// procedures are described. The fast versions must give the same text and the same reports.
namespace reference {

using Counter = testing::LiteralStepCounter;

std::u16string RemoveExtraSpaces(std::u16string s, ProgressReporter& progress, int limit) {
    progress.SetStatusCaption(u"удаление пробелов");
    Counter counter{progress, limit};
    auto at = [&](size_t p) { return s[p - 1]; };
    while (!s.empty() && s[0] == u' ') s.erase(0, 1);
    size_t p = 1;
    while (p < s.size()) {
        counter.Step(p, s.size());
        if (at(p) == u' ' && at(p + 1) == u' ') {
            s.erase(p, 1);  // the pair becomes one space
            if (p > 1) --p;
        }
        ++p;
    }
    p = 1;
    while (p < s.size()) {
        counter.Step(p, s.size());
        if (at(p) == u'\n' && at(p + 1) == u' ') {
            s.erase(p, 1);  // the space at p + 1
            if (p > 1) --p;
        }
        ++p;
    }
    p = 1;
    while (p < s.size()) {
        counter.Step(p, s.size());
        for (char16_t mark : {u',', u'.', u':', u';'}) {
            if (p >= 1 && p + 1 <= s.size() && at(p) == u' ' && at(p + 1) == mark) {
                s.erase(p - 1, 1);  // the space at p
                --p;
            }
        }
        ++p;
    }
    progress.FinishReport();
    return s;
}

std::u16string RemoveEmptyLines(const std::u16string& text, ProgressReporter& progress, int limit) {
    progress.SetStatusCaption(u"удаление пустых строк");
    std::vector<std::u16string> lines = SplitLines(text);
    int count = 0;
    size_t i = 0;
    while (i < lines.size()) {
        bool blank = true;
        for (char16_t c : lines[i]) {
            if (c >= u'!' && c <= u'я') {
                blank = false;
                break;
            }
        }
        if (blank) {
            lines.erase(lines.begin() + static_cast<ptrdiff_t>(i));
        } else {
            ++i;
        }
        if (++count > limit) {
            progress.ReportPercent(PercentOfLinesPlusOne(static_cast<int64_t>(i), static_cast<int64_t>(lines.size())));
            count = 0;
            progress.PumpEvents();
        }
    }
    progress.FinishReport();
    return JoinLines(lines);
}

}  // namespace reference

struct Case {
    const char* input;
    const char* expected;
};

TEST(RemoveExtraSpaces, Cases) {
    const Case cases[] = {
        {"", ""},
        {"     ", ""},
        {"   Это  текст ,  в котором  много пробелов .", "Это текст, в котором много пробелов."},
        {"конец  {CR}{LF}  начало  ", "конец {CR}{LF}начало "},
        {"{LF} x", "{LF}x"},
        {"a{CR}  b", "a{CR} b"},  // no line feed: the leading space of the next line stays
        {"a{TAB}{TAB}b", "a{TAB}{TAB}b"},
        {"a{TAB}, b", "a{TAB}, b"},
        {"a\u00A0\u00A0b \u00A0.", "a\u00A0\u00A0b \u00A0."},
        {"Да !", "Да !"},
        {"Что ?", "Что ?"},
        {"а ,, б", "а,, б"},
        {"а , . б", "а,. б"},
        {"x : y ; z", "x: y; z"},
        {"a {CR}{LF} b", "a {CR}{LF}b"},
        {"{LF}{LF}  {LF}", "{LF}{LF}{LF}"},
        {" ", ""},
        {"a ", "a "},
        {"a  .", "a."},
        {" .", "."},
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return RemoveExtraSpaces(text, p); },
        std::vector<std::string>{"caption удаление пробелов", "caption статус", "clear"});
}

TEST(RemoveEmptyLines, Cases) {
    const Case cases[] = {
        {"", ""},
        {"a{CR}{LF}{CR}{LF}  {CR}{LF}b", "a{CR}{LF}b{CR}{LF}"},
        {"a", "a{CR}{LF}"},
        {"\u2014{CR}{LF}ё{CR}{LF}\u2026\u2116", ""},
        {"Ё{LF}\u00A0", "Ё{CR}{LF}\u00A0{CR}{LF}"},
        {" 1{LF}{TAB}a{LF}{TAB} ", " 1{CR}{LF}{TAB}a{CR}{LF}"},
        {"x{CR}y{LF}z", "x{CR}{LF}y{CR}{LF}z{CR}{LF}"},
        {"  a  {CR}{LF}", "  a  {CR}{LF}"},
        {"!{LF}я{LF}\u0450", "!{CR}{LF}я{CR}{LF}"},
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return RemoveEmptyLines(text, p); },
        std::vector<std::string>{"caption удаление пустых строк", "caption статус", "clear"});
}

TEST(RemoveEmptyLines, KeepsTextAfterU0000) {
    RecordingProgress progress;
    EXPECT_EQ(RemoveEmptyLines(std::u16string(u"a\0b\n\0\nc", 7), progress), std::u16string(u"a\0b\r\nc\r\n", 8));
}

// Random short texts from the characters these procedures look at, with a small step limit so that
// the report sequences are compared too.
std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
    static const char16_t alphabet[] = {u' ', u' ', u' ', u'\r', u'\n', u'\n', u',',      u'.',      u':', u';',
                                        u'!', u'?', u'a', u'Я',  u'\t', u'ё',  u'\u2014', u'\u00A0', u'\0'};
    return testing::RandomText(rng, maxLength, {alphabet, std::size(alphabet)});
}

TEST(WhitespaceFuzz, MatchesTheLiteralAlgorithmsTextAndReports) {
    // Both procedures see the same texts: the generator starts from the same seed for each.
    const auto makeText = [](std::mt19937& rng, int) { return RandomText(rng, 40); };
    testing::FuzzAgainstReference(
        20261209, 20000, {1, 7}, makeText,
        [](const std::u16string& text, RecordingProgress& p, int limit) { return RemoveExtraSpaces(text, p, limit); },
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return reference::RemoveExtraSpaces(text, p, limit);
        });
    testing::FuzzAgainstReference(
        20261209, 20000, {1, 7}, makeText,
        [](const std::u16string& text, RecordingProgress& p, int limit) { return RemoveEmptyLines(text, p, limit); },
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return reference::RemoveEmptyLines(text, p, limit);
        });
}

TEST(WhitespaceFuzz, ReportsEvery30000StepsOnALongText) {
    std::mt19937 rng(7);
    std::u16string text;
    while (text.size() < 200000) text += RandomText(rng, 60);
    RecordingProgress fast, slow;
    EXPECT_EQ(RemoveExtraSpaces(text, fast), reference::RemoveExtraSpaces(text, slow, 30000));
    EXPECT_EQ(fast.calls, slow.calls);
    EXPECT_GE(fast.Percents().size(), 5u);
    std::u16string lines;
    for (int i = 0; i < 70000; ++i) lines += (i % 3 == 0) ? u"  \r\n" : u"x\r\n";
    RecordingProgress fastLines, slowLines;
    EXPECT_EQ(RemoveEmptyLines(lines, fastLines), reference::RemoveEmptyLines(lines, slowLines, 30000));
    EXPECT_EQ(fastLines.Percents(), slowLines.Percents());
    EXPECT_EQ(fastLines.Percents().size(), 2u);
}

}  // namespace
}  // namespace vernalith
