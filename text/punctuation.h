#pragma once

#include <string>

#include "core/progress.h"

namespace vernalith {

// Collapses runs of a repeated ", . : ; ! ?" to one mark (a run at the very start keeps two), then
// deletes the marks between every line start and the line's first letter: a scan from the start of the
// text and from every line feed deletes each mark it meets, passing over the character after it, up to
// the first letter, crossing lines that hold none. Reports "удаление повторяющейся пунктуации".
std::u16string RemoveRepeatedPunctuation(const std::u16string& text, ProgressReporter& progress,
                                         int stepLimit = StepCounter::kDefaultLimit);

}  // namespace vernalith
