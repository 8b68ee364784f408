#include "automatic/list_editor_window.h"

namespace vernalith {

ListEditorWindow::ListEditorWindow(QWidget* owner)
    : ToolWindow(owner, "TForm7", QStringLiteral(" Автоматическая обработка текста"), QSize(428, 359)) {}

}  // namespace vernalith
