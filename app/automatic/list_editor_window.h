#pragma once

#include "app/tool_window.h"

class QListWidget;

namespace vernalith {

// `TForm7`: the automatic processing list editor. Its lower list `ListBox2` holds the procedure chain
// for the whole run.
class ListEditorWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit ListEditorWindow(QWidget* owner);

    QListWidget* chainList() const { return chain_; }

private:
    QListWidget* chain_;
};

}  // namespace vernalith
