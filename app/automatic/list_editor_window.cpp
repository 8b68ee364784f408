#include "app/automatic/list_editor_window.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace vernalith {

ListEditorWindow::ListEditorWindow(QWidget* owner)
    : ToolWindow(owner, "TForm7", QStringLiteral(" Автоматическая обработка текста"), QSize(428, 359)) {
    chain_ = new QListWidget(this);
    chain_->setObjectName("ListBox2");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chain_);
}

}  // namespace vernalith
