#include "text/letter_case.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// Literal, slow versions with 1-based positions, exactly as the procedures are described.
namespace reference {

void Step(int& count, int limit, ProgressReporter& progress, size_t position, size_t length) {
    if (count > limit) {
        progress.ReportPercent(PercentOfText(static_cast<int64_t>(position), static_cast<int64_t>(length)));
        progress.PumpEvents();
        count = 0;
    }
    ++count;
}

std::u16string LowerCaseAll(const std::u16string& text, ProgressReporter& progress, int limit) {
    progress.SetStatusCaption(u"опускание регистра");
    int count = 0;
    std::u16string result;
    for (size_t i = 1; i <= text.size(); ++i) {
        Step(count, limit, progress, i, text.size());
        result += ToLowerText(text.substr(i - 1, 1));
    }
    progress.FinishReport();
    return result;
}

std::u16string CapitalizeSentences(const std::u16string& text, ProgressReporter& progress, int limit) {
    progress.PumpEvents();
    progress.SetStatusCaption(u"правка регистра");
    int count = 0;
    std::u16string s = text;
    if (!s.empty()) s.replace(0, 1, CapitalizeFirst(s.substr(0, 1)));
    // Three characters from a 1-based start, a start before position 1 moved to position 1.
    auto window = [&](int64_t start) { return s.substr(static_cast<size_t>(std::max<int64_t>(start, 1)) - 1, 3); };
    for (size_t p = 1; p < s.size(); ++p) {
        Step(count, limit, progress, p, s.size());
        const char16_t c = s[p - 1];
        if (c != u'.' && c != u'!' && c != u'?' && c != u'\r') continue;
        const int64_t at = static_cast<int64_t>(p);
        const std::u16string around = window(at - 1), before = window(at - 3);
        if (around == u"т.д" || around == u"т.п" || before == u"т.п" || before == u"т.д") continue;
        for (size_t j = 0; p + j < s.size(); ++j) {
            const std::u16string one = s.substr(p + j - 1, 1);
            const char16_t lowered = ToLowerText(one)[0];
            if (lowered >= u'A' && lowered <= u'я') {
                s.replace(p + j - 1, 1, CapitalizeFirst(one));
                break;
            }
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

TEST(LowerCaseAll, Cases) {
    const Case cases[] = {
        {"", ""},
        {"Москва. ЁЛКА", "москва. ёлка"},
        {"ПРИВЕТ Ёж ABC xyz", "привет ёж abc xyz"},
        {"\u0407\u00DF\u00C0 123 \u0391", "\u0407\u00DF\u00C0 123 \u0391"},  // no case outside the table
        {"{CR}{LF}Я", "{CR}{LF}я"},
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return LowerCaseAll(text, p); },
        std::vector<std::string>{"caption опускание регистра", "caption статус", "clear"});
}

TEST(CapitalizeSentences, Cases) {
    const Case cases[] = {
        {"", ""},
        {"x", "X"},
        {"это первое. это второе! а это? нет{CR}{LF}новая строка",
         "Это первое. Это второе! А это? Нет{CR}{LF}Новая строка"},
        {"конец.далее", "Конец.Далее"},
        {"а. б", "А. б"},  // the last character is never raised by a mark
        {"а. бв", "А. Бв"},
        {"конец. ёлка", "Конец. ёЛка"},  // "ё" lowers outside the letter range and is passed over
        {"конец. Ёлка", "Конец. ЁЛка"},
        {"ёлка. xy", "Ёлка. Xy"},              // the first character is raised whatever it is
        {"конец. «начало", "Конец. «начало"},  // a sign in the range ends the scan unchanged
        {"конец. [начало", "Конец. [начало"},
        {"конец. 2 раза", "Конец. 2 Раза"},
        {"конец.{CR}{LF}{CR}{LF}  - новое", "Конец.{CR}{LF}{CR}{LF}  - Новое"},
        {"и т.д. и т.п. далее", "И т.д. и т.п. далее"},
        {"т.е. так", "Т.Е. Так"},
        {"т.д. далее", "Т.Д. Далее"},
        {"и т.д! ещё", "И т.д! ещё"},
        {"и т.п{CR}{LF}ещё", "И т.п{CR}{LF}ещё"},
        {"и Т.д. ещё", "И Т.Д. Ещё"},  // the exceptions are case-sensitive
        {"x. т.д. yz", "X. Т.Д. Yz"},  // raised by the mark before it, the abbreviation no longer matches
        {"a{CR}{LF}б{LF}в{CR}гд", "A{CR}{LF}Б{LF}в{CR}Гд"},  // a lone LF is no trigger
        {"конец. 123", "Конец. 123"},
        {"?x", "?x"},
        {"?xy", "?Xy"},
        {"1.2", "1.2"},
    };
    testing::RunCaseTable(
        cases, [](const std::u16string& text, RecordingProgress& p) { return CapitalizeSentences(text, p); },
        std::vector<std::string>{"pump", "caption правка регистра", "caption статус", "clear"});
}

TEST(LetterCaseFuzz, MatchesTheLiteralAlgorithmsTextAndReports) {
    // Both procedures see the same texts: the generator starts from the same seed for each.
    const auto makeText = [](std::mt19937& rng, int) { return testing::RandomPieces(rng, 20); };
    testing::FuzzAgainstReference(
        4242, 30000, {0, 6}, makeText,
        [](const std::u16string& text, RecordingProgress& p, int limit) { return CapitalizeSentences(text, p, limit); },
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return reference::CapitalizeSentences(text, p, limit);
        });
    testing::FuzzAgainstReference(
        4242, 30000, {0, 6}, makeText,
        [](const std::u16string& text, RecordingProgress& p, int limit) { return LowerCaseAll(text, p, limit); },
        [](const std::u16string& text, RecordingProgress& p, int limit) {
            return reference::LowerCaseAll(text, p, limit);
        });
}

TEST(LetterCaseFuzz, ReportsEvery30000StepsOnALongText) {
    std::mt19937 rng(5);
    std::u16string text;
    while (text.size() < 100000) text += testing::RandomPieces(rng, 30);
    RecordingProgress fast, slow;
    EXPECT_EQ(CapitalizeSentences(text, fast), reference::CapitalizeSentences(text, slow, 30000));
    EXPECT_EQ(fast.calls, slow.calls);
    EXPECT_EQ(fast.Percents().size(), 3u);
    RecordingProgress fastLower, slowLower;
    EXPECT_EQ(LowerCaseAll(text, fastLower), reference::LowerCaseAll(text, slowLower, 30000));
    EXPECT_EQ(fastLower.calls, slowLower.calls);
}

TEST(CapitalizeSentences, ManyMarksWithoutLettersEnd) {
    // Every mark would scan on to the end of the text; the stretch is scanned once.
    std::u16string text(4000000, u'.');
    text += u"ab";
    RecordingProgress progress;
    const std::u16string result = CapitalizeSentences(text, progress);
    EXPECT_EQ(result.substr(result.size() - 3), u".Ab");
}

}  // namespace
}  // namespace vernalith
