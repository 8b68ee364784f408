#pragma once

#include <string>

#include "core/progress.h"

namespace vernalith {

// Deletes every stretch from a "<" to the first ">" after it, left to right, with no regard for
// quotes, comments, line breaks or nesting; a "<" with no ">" after it, and everything after it,
// stays. Reports "удаление html разметки" and the share done every `stepLimit` steps.
std::u16string StripHtmlTags(const std::u16string& text, ProgressReporter& progress,
                             int stepLimit = StepCounter::kDefaultLimit);

}  // namespace vernalith
