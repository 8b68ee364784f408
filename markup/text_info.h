#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"

namespace vernalith {

inline constexpr std::u16string_view kEmptyTextMessage = u"Поле для ввода текста пустое, пожалуйста вставьте текст.";

// The 39 function words left out of the word list, in their fixed order.
extern const std::u16string_view kFunctionWords[39];

// One distinct word of the text: where it first occurs and how often it occurs. The word itself is
// the maximal run of letter-range characters starting there, lower-cased; it is not copied, so that a
// text of millions of distinct words costs sixteen bytes a word.
struct WordCount {
    size_t start = 0;  // position of the word's first occurrence in the text
    int64_t count = 0;
    friend bool operator==(const WordCount&, const WordCount&) = default;
};

struct TextInformation {
    int64_t characters = 0;          // every character, a line break as two
    int64_t nonSpaceCharacters = 0;  // the same without the spaces (U+0020)
    std::u16string totalLabel;       // "всего символов N"
    std::u16string nonSpaceLabel;    // "символов без пробелов N"
    // The text the words point into (the one given to CollectTextInformation; it must outlive this).
    std::u16string_view text;
    // The distinct words, most frequent first, equal counts in order of first appearance.
    std::vector<WordCount> words;

    // The word as written at its first occurrence (not lower-cased).
    std::u16string_view Spelling(const WordCount& word) const;
    // The word lower-cased.
    std::u16string Word(const WordCount& word) const;
};

// Text information of the whole editor text: the character counts and the word frequency list. A
// word is a maximal run of characters in the letter range, lower-cased by the case table; the 39
// function words are left out. Returns nothing for an empty text (the caller shows kEmptyTextMessage).
//
// Progress, through ReportPercentSpaced and PumpEvents: the scan takes text length + 3 steps (a space
// in front of the text, the text, a space and one more character after it) and reports step k of
// them as k / (length + 3) every `scanStepLimit` steps; the ordering of the list stands for one pass
// per distinct word and reports passes done / words every `sortPassLimit` passes. Ends with
// ClearPercent.
std::optional<TextInformation> CollectTextInformation(std::u16string_view text, ProgressReporter& progress,
                                                      int scanStepLimit = StepCounter::kDefaultLimit,
                                                      int sortPassLimit = 3000);

// The words point into the text, so a temporary string cannot be given: it would be gone before the
// list is read.
template <typename String>
requires std::same_as<String, std::u16string> std::optional<TextInformation> CollectTextInformation(
    String&& text, ProgressReporter& progress, int scanStepLimit = StepCounter::kDefaultLimit, int sortPassLimit = 3000)
= delete;

// One line of the word list: the lower-cased word + " - " + count.
std::u16string WordListLine(const TextInformation& information, const WordCount& word);
// The same line appended to `out`, without a temporary string.
void AppendWordListLine(std::u16string& out, const TextInformation& information, const WordCount& word);
// The length of that line.
size_t WordListLineLength(const TextInformation& information, const WordCount& word);

}  // namespace vernalith
