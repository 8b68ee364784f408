#include "markup/text_info.h"

#include <gtest/gtest.h>

#include <random>

#include "core/chars.h"
#include "core/percent.h"
#include "support/random_text.h"
#include "support/recording_progress.h"
#include "text/case_table.h"

namespace vernalith {
namespace {

using testing::RecordingProgress;
using testing::T;

// The literal scan: character by character over a space, the text, a space and one more character,
// the word list searched linearly, then ordered by n passes of an exchange sort. Reports at the same
// step-counter points as the fast version.
namespace reference {

// The reference keeps each word as a string of its own.
struct Information {
    std::u16string totalLabel, nonSpaceLabel;
    std::vector<std::pair<std::u16string, int64_t>> words;
};

std::optional<Information> CollectTextInformation(std::u16string_view text, ProgressReporter& progress, int scanLimit,
                                                  int sortLimit) {
    if (text.empty()) return std::nullopt;
    const std::u16string s = u" " + std::u16string(text) + u" " + u'\0';
    const auto steps = static_cast<int64_t>(s.size());
    std::vector<std::u16string> words;
    std::vector<int64_t> counts;
    int64_t spaces = 0;
    bool open = false;
    size_t start = 0;
    int count = 0;
    for (size_t k = 0; k < s.size(); ++k) {
        if (count > scanLimit) {
            progress.ReportPercentSpaced(static_cast<int>(RoundedRatio(100 * static_cast<int64_t>(k), steps)));
            count = 0;
            progress.PumpEvents();
        }
        ++count;
        const char16_t c = s[k];
        if (!open && InLetterRange(c)) {
            open = true;
            start = k;
        }
        if (open && !InLetterRange(c)) {
            open = false;
            const std::u16string w = ToLowerText(s.substr(start, k - start));
            bool function = false;
            for (std::u16string_view f : kFunctionWords) function = function || w == f;
            if (!function) {
                size_t found = words.size();
                for (size_t j = 0; j < words.size(); ++j) {
                    if (words[j] == w) {
                        found = j;
                        break;
                    }
                }
                if (found < words.size()) {
                    ++counts[found];
                } else {
                    words.push_back(w);
                    counts.push_back(1);
                }
            }
        }
        if (c == u' ' && k >= 1 && k <= text.size()) ++spaces;
    }
    Information info;
    const auto characters = static_cast<int64_t>(text.size());
    const std::string total = std::to_string(characters), nonSpace = std::to_string(characters - spaces);
    info.totalLabel = u"всего символов " + std::u16string(total.begin(), total.end());
    info.nonSpaceLabel = u"символов без пробелов " + std::u16string(nonSpace.begin(), nonSpace.end());
    const size_t n = words.size();
    count = 0;
    for (size_t pass = 0; pass < n; ++pass) {
        if (count > sortLimit) {
            progress.ReportPercentSpaced(
                static_cast<int>(RoundedRatio(100 * static_cast<int64_t>(pass), static_cast<int64_t>(n))));
            count = 0;
            progress.PumpEvents();
        }
        ++count;
        for (size_t j = 0; j + 1 < n; ++j) {
            if (counts[j] < counts[j + 1]) {
                std::swap(counts[j], counts[j + 1]);
                std::swap(words[j], words[j + 1]);
            }
        }
    }
    for (size_t j = 0; j < n; ++j) info.words.push_back({words[j], counts[j]});
    progress.ClearPercent();
    return info;
}

}  // namespace reference

std::vector<std::string> Lines(const TextInformation& info) {
    std::vector<std::string> lines = {EncodeUtf8(info.totalLabel), EncodeUtf8(info.nonSpaceLabel)};
    for (const WordCount& word : info.words) lines.push_back(EncodeUtf8(WordListLine(info, word)));
    return lines;
}

std::vector<std::string> Lines(const reference::Information& info) {
    std::vector<std::string> lines = {EncodeUtf8(info.totalLabel), EncodeUtf8(info.nonSpaceLabel)};
    for (const auto& [word, count] : info.words) {
        lines.push_back(EncodeUtf8(word + u" - ") + std::to_string(count));
    }
    return lines;
}

std::vector<std::pair<std::u16string, int64_t>> Words(const TextInformation& info) {
    std::vector<std::pair<std::u16string, int64_t>> words;
    for (const WordCount& word : info.words) words.emplace_back(info.Word(word), word.count);
    return words;
}

struct Case {
    const char* text;
    std::vector<std::string> lines;  // the two labels, then the word list
};

TEST(TextInformation, Cases) {
    std::string tenNineTwo = "z y";
    for (int i = 0; i < 8; ++i) tenNineTwo += " y";
    for (int i = 0; i < 10; ++i) tenNineTwo += " x";
    tenNineTwo += " z";
    const Case cases[] = {
        {"Кот и кот. Пёс", {"всего символов 14", "символов без пробелов 11", "кот - 2", "п - 1"}},
        {"Ёлка ёлка", {"всего символов 9", "символов без пробелов 8", "ёлка - 1", "лка - 1"}},
        {"a b{CR}{LF}c", {"всего символов 6", "символов без пробелов 5", "a - 1", "b - 1", "c - 1"}},
        {tenNineTwo.c_str(), {"всего символов 41", "символов без пробелов 21", "x - 10", "y - 9", "z - 2"}},
        {"дом сад дом сад лес", {"всего символов 19", "символов без пробелов 15", "дом - 2", "сад - 2", "лес - 1"}},
        {"и в с на", {"всего символов 8", "символов без пробелов 5"}},
        {"И В ЭТО Всё", {"всего символов 11", "символов без пробелов 8", "вс - 1"}},
        {"кто-то ещё", {"всего символов 10", "символов без пробелов 9", "кто - 1", "ещ - 1"}},
        // Only U+0020 is a space; the no-break space and the guillemets are in the letter range.
        {"a{TAB}b\u00A0«цитата»", {"всего символов 12", "символов без пробелов 12", "a - 1", "b\u00A0«цитата» - 1"}},
        {"Слово", {"всего символов 5", "символов без пробелов 5", "слово - 1"}},
        {"   ", {"всего символов 3", "символов без пробелов 0"}},
        {"12 345", {"всего символов 6", "символов без пробелов 5"}},
    };
    for (const auto& c : cases) {
        RecordingProgress progress;
        const std::u16string text = T(c.text);
        const std::optional<TextInformation> info = CollectTextInformation(text, progress);
        ASSERT_TRUE(info.has_value()) << c.text;
        EXPECT_EQ(Lines(*info), c.lines) << c.text;
        EXPECT_EQ(progress.calls, std::vector<std::string>{"clear"}) << c.text;
    }
}

TEST(TextInformation, WordsPointAtTheirFirstOccurrence) {
    // The words are not copied: each is the position of its first occurrence in the given text,
    // written there as it was, lower-cased when it is shown.
    const std::u16string text = u"Дом ДОМ сад Дом";
    RecordingProgress progress;
    const std::optional<TextInformation> info = CollectTextInformation(text, progress);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->text.data(), text.data());
    ASSERT_EQ(info->words, (std::vector<WordCount>{{0, 3}, {8, 1}}));
    EXPECT_EQ(info->Spelling(info->words[0]), u"Дом");
    EXPECT_EQ(info->Word(info->words[0]), u"дом");
    EXPECT_EQ(WordListLine(*info, info->words[0]), u"дом - 3");
    // Counts of any size keep the plain decimal form; the line's length is known beforehand.
    for (int64_t count : {int64_t{0}, int64_t{9}, int64_t{10}, int64_t{1234567890123}, INT64_MAX}) {
        const WordCount word{12, count};
        const std::u16string line = WordListLine(*info, word);
        EXPECT_EQ(EncodeUtf8(line), EncodeUtf8(u"дом - ") + std::to_string(count));
        EXPECT_EQ(WordListLineLength(*info, word), line.size());
    }
}

TEST(TextInformation, EmptyTextGivesNothingAndReportsNothing) {
    RecordingProgress progress;
    EXPECT_FALSE(CollectTextInformation(u"", progress).has_value());
    EXPECT_TRUE(progress.calls.empty());
    EXPECT_EQ(kEmptyTextMessage, u"Поле для ввода текста пустое, пожалуйста вставьте текст.");
}

TEST(TextInformation, ReportsScanStepsThenSortPasses) {
    // "ab cd": 8 scan steps; with a limit of 1 the reports come before steps 2, 4 and 6 of 8. Two
    // distinct words give two passes; with a pass limit of 0 the report comes before pass 1 of 2.
    RecordingProgress progress;
    CollectTextInformation(u"ab cd", progress, 1, 0);
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"spaced 25", "pump", "spaced 50", "pump", "spaced 75", "pump",
                                                        "spaced 50", "pump", "clear"}));
}

std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
    // Few letters, so that words repeat, function words occur and counts tie.
    static const char16_t alphabet[] = {u'а', u'А', u'и', u'И', u'в', u'с',  u'к',  u'Ё', u'ё',      u'a',
                                        u'B', u' ', u' ', u' ', u'-', u'\r', u'\n', u'1', u'\u00AB', u'\u2014'};
    return testing::RandomText(rng, maxLength, {alphabet, std::size(alphabet)});
}

void ExpectSameAsReference(const std::u16string& text, int scanLimit, int sortLimit, int iteration) {
    RecordingProgress fast, slow;
    const auto expected = reference::CollectTextInformation(text, slow, scanLimit, sortLimit);
    const auto info = CollectTextInformation(text, fast, scanLimit, sortLimit);
    ASSERT_EQ(info.has_value(), expected.has_value()) << "iteration " << iteration;
    if (info) {
        ASSERT_EQ(Lines(*info), Lines(*expected)) << "iteration " << iteration;
        ASSERT_EQ(Words(*info), expected->words) << "iteration " << iteration;
    }
    ASSERT_EQ(fast.calls, slow.calls) << "iteration " << iteration;
}

TEST(TextInformationFuzz, MatchesTheLiteralScanAndSort) {
    std::mt19937 rng(20260502);
    for (int iteration = 0; iteration < testing::FuzzCases(20000); ++iteration) {
        ExpectSameAsReference(RandomText(rng, 60), 1 + iteration % 7, iteration % 4, iteration);
    }
}

TEST(TextInformationFuzz, LongTextAtTheDefaultLimits) {
    std::mt19937 rng(12);
    std::u16string text;
    while (text.size() < 100000) text += RandomText(rng, 60);
    ExpectSameAsReference(text, 30000, 3000, 0);
    // Many distinct words: more than 3000 sort passes.
    std::u16string many;
    for (int i = 0; i < 7000; ++i) {
        for (int n = i; n > 0; n /= 26) many += static_cast<char16_t>(u'a' + n % 26);
        many += (i % 5 == 0) ? u" a " : u" ";
    }
    ExpectSameAsReference(many, 30000, 3000, 1);
}

}  // namespace
}  // namespace vernalith
