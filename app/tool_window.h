#pragma once

#include <QDialog>

namespace vernalith {

// A secondary window: a fixed-size tool window with the given caption and client size, shown modally
// and centred on its owner. It keeps its fields while hidden; showing it never resets them.
class ToolWindow : public QDialog {
    Q_OBJECT

public:
    ToolWindow(QWidget* owner, const char* className, const QString& caption, QSize clientSize);

    // Centres the window on its owner and runs it modally.
    void ShowModal();
};

}  // namespace vernalith
