#pragma once

#include <string>
#include <string_view>

#include "core/progress.h"

namespace vernalith {

// Deletes every footnote: a start marker, at most 16 characters, and the end marker, the markers
// compared with the case table's letter case ignored. The text is scanned from left to right; at each
// position where a start marker stands, the leftmost end marker within the window closes the footnote
// and the footnote goes; the character after it is not tested as a start again. Reports
// "удаление сносок" and the share done every `stepLimit` positions.
std::u16string RemoveFootnotes(std::u16string_view text, std::u16string_view startMarker, std::u16string_view endMarker,
                               ProgressReporter& progress, int stepLimit = StepCounter::kDefaultLimit);

}  // namespace vernalith
