#pragma once

#include <string>

#include "core/progress.h"

namespace vernalith {

// Every upper-case letter of the case table lowered, with progress; the length never changes.
// Reports "опускание регистра" and the share done every `stepLimit` characters.
std::u16string LowerCaseAll(const std::u16string& text, ProgressReporter& progress,
                            int stepLimit = StepCounter::kDefaultLimit);

// Raises the first character of the text and, after every ". ! ?" and CR, the first following
// character whose lower-case form lies in the letter range ("ё" and "Ё" are passed over); not after
// the full stop of "т.д" or "т.п" nor after a mark that follows them. The last character of the text
// is never raised by a mark. Reports "правка регистра".
std::u16string CapitalizeSentences(const std::u16string& text, ProgressReporter& progress,
                                   int stepLimit = StepCounter::kDefaultLimit);

}  // namespace vernalith
