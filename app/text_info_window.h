#pragma once

#include "app/tool_window.h"

namespace vernalith {

// `TForm4`: character counts and the word-frequency list of the text.
class TextInfoWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit TextInfoWindow(QWidget* owner);
};

}  // namespace vernalith
