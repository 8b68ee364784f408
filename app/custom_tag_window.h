#pragma once

#include "app/tool_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vernalith {

// `TForm5`: the user's own tag to count. The field `Edit1` holds the tag ("<h4>" at first) for the
// whole run; "готово" only closes the window, and however the window is closed the field keeps
// what it holds.
class CustomTagWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit CustomTagWindow(QWidget* owner);

    QLineEdit* edit1() const { return edit1_; }
    QPushButton* button1() const { return button1_; }

private:
    QLabel* label1_;
    QLineEdit* edit1_;
    QPushButton* button1_;
};

}  // namespace vernalith
