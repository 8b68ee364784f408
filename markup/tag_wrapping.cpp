#include "markup/tag_wrapping.h"

#include <algorithm>
#include <string>

#include "core/editor_text.h"

namespace vernalith {

EditPlan PlanTagWrapping(std::u16string_view text, size_t selectionStart, size_t selectionLength,
                         std::u16string_view openTag, std::u16string_view closeTag) {
    const size_t start = std::min(selectionStart, text.size());
    const size_t length = std::min(selectionLength, text.size() - start);
    std::u16string wrapped(openTag);
    wrapped.append(text.substr(start, length)).append(closeTag);
    std::u16string inserted = WithCrLfBreaks(wrapped);
    // The closing tag as the editor holds it: a tag that held a lone CR or LF is longer there.
    const size_t closeLength = std::min(WithCrLfBreaks(closeTag).size(), inserted.size());
    const size_t caret = start + inserted.size() - closeLength;
    EditPlan plan;
    plan.push_back(EditStep::Replace(std::move(inserted)));
    plan.push_back(EditStep::SelectionStart(caret));
    return plan;
}

}  // namespace vernalith
