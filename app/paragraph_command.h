#pragma once

namespace vernalith {

class MainWindow;

// The paragraph command `ToolButton18Click`: wraps the lines of the selection, or of the whole text
// when nothing is selected, in paragraph tags.
void ParagraphCommand(MainWindow& window);

}  // namespace vernalith
