#pragma once

#include <functional>

#include "app/tool_window.h"

class QLabel;
class QListWidget;
class QPushButton;
class QToolBar;

namespace vernalith {

class ChainList;

// `TForm7`: the automatic processing list editor. The upper list `ListBox1` offers the procedure
// list's 16 captions; the lower list `ListBox2` holds the procedure chain for the whole run, whether
// or not the window is shown. Every edit acts on the chain at once: there is no cancel and no save
// step.
class ListEditorWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit ListEditorWindow(QWidget* owner);

    QListWidget* catalogueList() const { return catalogue_; }
    ChainList* chainList() const { return chain_; }
    QToolBar* toolBar() const { return toolBar_; }

    // What "настройка функций" opens (the function settings at the page they showed last).
    void SetFunctionSettingsOpener(std::function<void()> open) { openFunctionSettings_ = std::move(open); }

    // The editor's operations, by their control names.
    void ListBox1DblClick();
    void ToolButton2Click();
    void ToolButton1Click();
    void ToolButton3Click();
    void ToolButton5Click();

private:
    QListWidget* catalogue_;
    ChainList* chain_;
    QToolBar* toolBar_;
    std::function<void()> openFunctionSettings_;
};

}  // namespace vernalith
