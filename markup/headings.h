#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "markup/selection_edit.h"

namespace vernalith {

// The level text of the headings: "1" to "5" when the stored level setting names one of the items
// "h1" to "h5", empty for any other value (no item marked).
std::u16string HeadingLevelText(std::u16string_view headingLevelSetting);

// Heading insertion (F9 and the headings button) on the editor selection, as editor steps. `text` is
// the whole editor text (lines joined by CR LF), the selection is given by its start and length;
// positions past the end of the text are taken as the end. `level` is the level text ("" when no
// level is marked).
//
// With nothing selected: inserts CR LF + "<hN></hN>" at the caret (the line breaks there, the pair
// starts the next line) and moves the caret five characters back, between the tags for a one-digit
// level (between "<h" and ">" with no level).
//   steps: ReplaceSelection(CR LF + tags), SetSelectionStart(caret - 5)
//
// With a selection starting at S: the line it begins on starts after the last CR or LF before S (or
// at 0), and the prefix is that line's text in front of S. The selected text, trimmed at both ends
// of every character outside the letter range and with its first character raised, becomes the
// heading; it is followed by a line break and the prefix, and with `duplicateHeading` by the
// selected text as it was. Then the prefix is deleted from the front of the line.
//   steps: ReplaceSelection("<hN>" + heading + "</hN>" + CR LF + prefix [+ selected text]),
//          SetSelectionStart(line start), SetSelectionLength(prefix length), ReplaceSelection("")
// The caret ends at the start of the heading line with nothing selected.
EditPlan PlanHeadingInsertion(std::u16string_view text, size_t selectionStart, size_t selectionLength,
                              std::u16string_view level, bool duplicateHeading);

}  // namespace vernalith
