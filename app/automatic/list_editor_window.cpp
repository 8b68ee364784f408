#include "app/automatic/list_editor_window.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/automatic/chain_list.h"
#include "app/qt_text.h"
#include "automatic/procedure_table.h"

namespace vernalith {

ListEditorWindow::ListEditorWindow(QWidget* owner)
    : ToolWindow(owner, "TForm7", QStringLiteral(" Автоматическая обработка текста"), QSize(428, 359)) {
    catalogue_ = new QListWidget(this);
    catalogue_->setObjectName("ListBox1");
    catalogue_->setSelectionMode(QAbstractItemView::SingleSelection);
    catalogue_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const ProcedureRow* row : ProcedureCatalogue()) catalogue_->addItem(ToQString(row->caption));
    connect(catalogue_, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("ToolBar1");
    toolBar_->setIconSize(QSize(16, 16));
    auto addButton = [this](const char* name, const QString& hint, const char* icon, void (ListEditorWindow::*run)()) {
        QAction* button = toolBar_->addAction(QIcon::fromTheme(QString::fromLatin1(icon)), hint);
        button->setObjectName(name);
        button->setToolTip(hint);
        connect(button, &QAction::triggered, this, [this, run] { (this->*run)(); });
    };
    addButton("ToolButton2", QStringLiteral("добавить выделенный элемент (двойной клик по элементу) "), "list-add",
              &ListEditorWindow::ToolButton2Click);
    addButton("ToolButton1", QStringLiteral("добавить все элементы"), "go-bottom", &ListEditorWindow::ToolButton1Click);
    toolBar_->addSeparator();
    addButton("ToolButton3", QStringLiteral("очистить список процедур"), "edit-clear-list",
              &ListEditorWindow::ToolButton3Click);
    toolBar_->addSeparator();
    addButton("ToolButton5", QStringLiteral("настройка функций"), "configure", &ListEditorWindow::ToolButton5Click);

    chain_ = new ChainList(this);

    auto* order = new QLabel(QStringLiteral("все процедуры выполняются попорядку"), this);
    order->setObjectName("Label1");
    auto* dragHint = new QLabel(QStringLiteral("для изменения порядка перетаскивайте элементы списка"), this);
    dragHint->setObjectName("Label2");
    auto* done = new QPushButton(QStringLiteral("готово"), this);
    done->setObjectName("Button1");
    connect(done, &QPushButton::clicked, this, [this] { close(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(catalogue_, 1);
    layout->addWidget(toolBar_);
    layout->addWidget(chain_, 1);
    layout->addWidget(order);
    layout->addWidget(dragHint);
    layout->addWidget(done, 0, Qt::AlignRight);
}

void ListEditorWindow::ListBox1DblClick() {
    QListWidgetItem* selected = catalogue_->currentItem();
    if (selected && selected->isSelected()) chain_->addItem(selected->text());
}

void ListEditorWindow::ToolButton2Click() { ListBox1DblClick(); }

void ListEditorWindow::ToolButton1Click() {
    for (int i = 0; i < catalogue_->count(); ++i) chain_->addItem(catalogue_->item(i)->text());
}

void ListEditorWindow::ToolButton3Click() { chain_->clear(); }

void ListEditorWindow::ToolButton5Click() {
    if (openFunctionSettings_) openFunctionSettings_();
}

}  // namespace vernalith
