#pragma once

#include <string>

#include "core/progress.h"

namespace vernalith {

// Joins words split by a hyphen at a line end: a "-" followed by at most five spaces or hyphens and
// then CR is deleted together with them, the CR and the character after the CR. A lone LF is not a
// line break here. Reports "удаление переносов" and the share done every `stepLimit` steps.
std::u16string RemoveHyphenation(const std::u16string& text, ProgressReporter& progress,
                                 int stepLimit = StepCounter::kDefaultLimit);

// Replaces a CR and the character after it by one space when the last character before the CR that is
// a letter ("A" to "я") or a sentence end (". ! ? : ;") is a letter; line breaks after a sentence end,
// or with neither before them, stay. Reports "удаление переходов на новую строку".
std::u16string RemoveExtraLineBreaks(const std::u16string& text, ProgressReporter& progress,
                                     int stepLimit = StepCounter::kDefaultLimit);

}  // namespace vernalith
