#pragma once

#include "app/tool_window.h"

namespace vernalith {

// `TForm6`: the settings of the character, line, footnote and article procedures, on five pages.
class FunctionSettingsWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit FunctionSettingsWindow(QWidget* owner);
};

}  // namespace vernalith
