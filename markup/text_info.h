#pragma once

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

struct WordCount {
    std::u16string word;  // lower-cased
    int64_t count = 0;
    friend bool operator==(const WordCount&, const WordCount&) = default;
};

struct TextInformation {
    int64_t characters = 0;          // every character, a line break as two
    int64_t nonSpaceCharacters = 0;  // the same without the spaces (U+0020)
    std::u16string totalLabel;       // "всего символов N"
    std::u16string nonSpaceLabel;    // "символов без пробелов N"
    // The distinct words, lower-cased, most frequent first, equal counts in order of first appearance.
    std::vector<WordCount> words;
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

// One line of the word list: word + " - " + count.
std::u16string WordListLine(const WordCount& word);

}  // namespace vernalith
