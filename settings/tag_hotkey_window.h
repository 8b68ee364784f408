#pragma once

#include "app/tool_window.h"

namespace vernalith {

// `TForm3`: the four tag pairs of the hot keys F5 to F8.
class TagHotkeyWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit TagHotkeyWindow(QWidget* owner);
};

}  // namespace vernalith
