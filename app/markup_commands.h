#pragma once

#include "markup/selection_edit.h"

namespace vernalith {

class Editor;
class MainWindow;
class TextInfoWindow;

// Carries out a selection command's steps on the editor, as one step of the editor's own typing
// history. Every replacement raises the editor's change notification.
void ApplyEditPlan(Editor& editor, const EditPlan& plan);

// The markup and analysis commands of the main window:
// - heading insertion (F9, `ToolButton46`), its level items "h1" to "h5" and "дублировать
//   заголовок", whose marks hold the heading level and duplicate-heading settings;
// - tag wrapping by F5 to F8 with the pairs read from the settings at each key press;
// - tag counting (`ToolButton19`), with the custom tag held in `TForm5`'s field;
// - text information (`ToolButton17`), shown in `TForm4`.
void AttachMarkupCommands(MainWindow& window, TextInfoWindow& textInfo);

}  // namespace vernalith
