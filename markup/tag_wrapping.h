#pragma once

#include <cstddef>
#include <string_view>

#include "markup/selection_edit.h"

namespace vernalith {

// Tag wrapping (F5 to F8) of the editor selection, as editor steps: the selection is replaced by
// `openTag` + selected text + `closeTag` (with nothing selected the pair is inserted at the caret),
// then the caret moves back by the closing tag's length, so that it stands just before the closing
// tag (after the inserted text when `closeTag` is empty). `text` is the whole editor text; positions
// past its end are taken as the end.
//   steps: ReplaceSelection(open + selected + close), SetSelectionStart(end of insertion - close length)
EditPlan PlanTagWrapping(std::u16string_view text, size_t selectionStart, size_t selectionLength,
                         std::u16string_view openTag, std::u16string_view closeTag);

}  // namespace vernalith
