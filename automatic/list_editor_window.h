#pragma once

#include "app/tool_window.h"

namespace vernalith {

// `TForm7`: the automatic processing list editor.
class ListEditorWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit ListEditorWindow(QWidget* owner);
};

}  // namespace vernalith
