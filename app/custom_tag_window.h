#pragma once

#include "app/tool_window.h"

namespace vernalith {

// `TForm5`: the user's own tag to count.
class CustomTagWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit CustomTagWindow(QWidget* owner);
};

}  // namespace vernalith
