#pragma once

namespace vernalith {

class FunctionSettingsWindow;
class ListEditorWindow;
class MainWindow;

// The automatic processing: "автоматическая обработка текста" (`ToolButton36Click`) runs the chain that
// the list editor holds through the command wrapper; "параметры" (`N28Click`) opens the list editor,
// whose "настройка функций" opens the function settings at the page they showed last.
void AttachAutomaticProcessing(MainWindow& main, ListEditorWindow& listEditor,
                               FunctionSettingsWindow& functionSettings);

inline constexpr char16_t kEmptyChainMessage[] =
    u"Не добавлено не одной процедуры, пожалуйста создайте список процедур в настройках";

}  // namespace vernalith
