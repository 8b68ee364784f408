#pragma once

#include <string>

#include "core/progress.h"

namespace vernalith {

// Deletes the spaces at the start of the text, collapses every run of spaces to one, deletes the
// space after each line feed and the space in front of each "," "." ":" ";". Only U+0020 counts as a
// space. Reports "удаление пробелов" and the share done every `stepLimit` steps.
std::u16string RemoveExtraSpaces(const std::u16string& text, ProgressReporter& progress,
                                 int stepLimit = StepCounter::kDefaultLimit);

// Deletes every line that holds no code unit from "!" (U+0021) to "я" (U+044F); the lines that stay
// are joined, each followed by CR LF. Reports "удаление пустых строк".
std::u16string RemoveEmptyLines(const std::u16string& text, ProgressReporter& progress,
                                int stepLimit = StepCounter::kDefaultLimit);

}  // namespace vernalith
