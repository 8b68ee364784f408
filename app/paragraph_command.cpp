#include "app/paragraph_command.h"

#include <QAction>

#include "app/editor.h"
#include "app/main_window.h"
#include "markup/paragraphs.h"

namespace vernalith {

void ParagraphCommand(MainWindow& window) {
    if (window.runner().Busy()) return;
    Editor& editor = *window.editor();
    // The snapshot comes first, also when nothing is selected.
    window.runner().TakeUndoSnapshot();
    const size_t selectionStart = editor.SelectionStart();
    const size_t selectionLength = editor.SelectionLength();
    QAction* button = window.action("ToolButton18");
    window.runner().RunTextCommand(button, [&] {
        const std::u16string selected = selectionLength > 0 ? editor.SelectedText() : std::u16string();
        const ParagraphEdit edit = TagParagraphsForCommand(selected, window.runner().UndoSnapshot(), window.progress());
        if (edit.scope == ParagraphScope::Selection) {
            // Clicks let through during the run may have moved the selection: put it back first.
            editor.SetSelectionStart(selectionStart);
            editor.SetSelectionLength(selectionLength);
            editor.ReplaceSelection(edit.text);
        } else {
            editor.ReplaceText(edit.text);
        }
    });
    window.progress().ClearPercent();
}

}  // namespace vernalith
