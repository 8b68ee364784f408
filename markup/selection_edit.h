#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vernalith {

// One editor operation of a selection command. Positions and lengths are 0-based offsets in UTF-16
// code units into the whole editor text as the editor reads it: its lines joined by CR LF, so every
// line break counts two. Each kind is exactly one call of the editor:
//   SetSelectionStart  `amount`: moves the caret to that position and selects nothing;
//   SetSelectionLength `amount`: selects that many characters from the selection start;
//   ReplaceSelection   `text`:   deletes the selected text (if any), inserts `text` in its place,
//                                leaves the caret after it with nothing selected, and raises the
//                                editor's change notification.
// Every line break of a ReplaceSelection text is already CR LF, so the editor's own conversion of
// line breaks in inserted text leaves it as it is and the caret advances by exactly text.size().
struct EditStep {
    enum class Kind { SetSelectionStart, SetSelectionLength, ReplaceSelection };

    static EditStep SelectionStart(size_t position) { return {Kind::SetSelectionStart, position, {}}; }
    static EditStep SelectionLength(size_t length) { return {Kind::SetSelectionLength, length, {}}; }
    static EditStep Replace(std::u16string text) { return {Kind::ReplaceSelection, 0, std::move(text)}; }

    friend bool operator==(const EditStep&, const EditStep&) = default;

    Kind kind;
    size_t amount;
    std::u16string text;
};

// The steps of one selection command, applied in order, starting from the selection the plan was
// made for (the editor's selection when the command started).
using EditPlan = std::vector<EditStep>;

}  // namespace vernalith
