#include "app/automatic/chain_list.h"

#include <QDropEvent>
#include <QKeyEvent>

#include "app/qt_text.h"
#include "automatic/chain.h"

namespace vernalith {

ChainList::ChainList(QWidget* parent) : QListWidget(parent) {
    setObjectName("ListBox2");
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void ChainList::ListBox2DragDrop(QPoint point) {
    const int selected = currentRow();
    if (selected < 0 || !currentItem()->isSelected()) return;
    ProcedureChain chain;
    for (int i = 0; i < count(); ++i) chain.push_back(ToU16(item(i)->text()));
    std::optional<size_t> target;
    if (QListWidgetItem* under = itemAt(point)) target = static_cast<size_t>(row(under));
    const std::optional<size_t> moved = MoveChainEntry(chain, static_cast<size_t>(selected), target);
    if (!moved || *moved == static_cast<size_t>(selected)) return;
    QListWidgetItem* entry = takeItem(selected);
    insertItem(static_cast<int>(*moved), entry);
    setCurrentItem(entry);
}

void ChainList::RemoveSelected() {
    const int selected = currentRow();
    if (selected < 0 || !currentItem()->isSelected()) return;
    delete takeItem(selected);
}

void ChainList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        RemoveSelected();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void ChainList::dragEnterEvent(QDragEnterEvent* event) {
    if (ListBox2DragOver(event->source())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ChainList::dragMoveEvent(QDragMoveEvent* event) {
    if (ListBox2DragOver(event->source())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ChainList::dropEvent(QDropEvent* event) {
    if (!ListBox2DragOver(event->source())) {
        event->ignore();
        return;
    }
    ListBox2DragDrop(event->position().toPoint());
    // The move is done here; the view must not move or remove anything itself.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}

}  // namespace vernalith
