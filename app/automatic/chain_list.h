#pragma once

#include <QListWidget>
#include <optional>

namespace vernalith {

// `ListBox2`: the chain list. Single selection; the Delete key removes the selected entry, and an
// entry dragged inside the list is moved by the list editor's drop rule. Drags from anywhere else
// are refused.
class ChainList : public QListWidget {
    Q_OBJECT

public:
    explicit ChainList(QWidget* parent);

    // Whether a drag from `source` may be dropped here: only the list's own.
    bool ListBox2DragOver(const QObject* source) const { return source == this; }
    // Drops the selected entry at `point` (viewport coordinates): onto the entry there, or at the end
    // below the last entry. Nothing happens when no entry is selected.
    void ListBox2DragDrop(QPoint point);
    // The Delete key: removes the selected entry; nothing when none is selected.
    void RemoveSelected();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace vernalith
