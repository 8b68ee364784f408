#include "markup/headings.h"

#include <algorithm>

#include "core/chars.h"
#include "core/editor_text.h"
#include "text/case_table.h"

namespace vernalith {
namespace {

// The selected text without the characters outside the letter range at its start and its end.
std::u16string_view TrimToLetters(std::u16string_view text) {
    while (!text.empty() && !InLetterRange(text.front())) text.remove_prefix(1);
    while (!text.empty() && !InLetterRange(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::u16string HeadingLevelText(std::u16string_view headingLevelSetting) {
    if (headingLevelSetting.size() == 1 && headingLevelSetting[0] >= u'1' && headingLevelSetting[0] <= u'5') {
        return std::u16string(headingLevelSetting);
    }
    return {};
}

EditPlan PlanHeadingInsertion(std::u16string_view text, size_t selectionStart, size_t selectionLength,
                              std::u16string_view level, bool duplicateHeading) {
    const size_t start = std::min(selectionStart, text.size());
    const size_t length = std::min(selectionLength, text.size() - start);
    std::u16string open = u"<h", close = u"</h";
    open.append(level).push_back(u'>');
    close.append(level).push_back(u'>');

    EditPlan plan;
    if (length == 0) {
        // The CR becomes a line break; the caret then goes five characters back from the end of the pair.
        std::u16string inserted = std::u16string(kCRLF) + open + close;
        const size_t caret = start + inserted.size() - 5;
        plan.push_back(EditStep::Replace(std::move(inserted)));
        plan.push_back(EditStep::SelectionStart(caret));
        return plan;
    }

    size_t lineStart = start;
    while (lineStart > 0 && text[lineStart - 1] != kLF && text[lineStart - 1] != kCR) --lineStart;
    const std::u16string_view prefix = text.substr(lineStart, start - lineStart);
    const std::u16string_view selected = text.substr(start, length);

    std::u16string replacement = open + CapitalizeFirst(TrimToLetters(selected)) + close;
    replacement.push_back(kLF);
    replacement.append(prefix);
    if (duplicateHeading) replacement.append(selected);

    plan.push_back(EditStep::Replace(WithCrLfBreaks(replacement)));
    plan.push_back(EditStep::SelectionStart(lineStart));
    plan.push_back(EditStep::SelectionLength(prefix.size()));
    plan.push_back(EditStep::Replace(u""));
    return plan;
}

}  // namespace vernalith
