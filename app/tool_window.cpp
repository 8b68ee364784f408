#include "app/tool_window.h"

namespace vernalith {

ToolWindow::ToolWindow(QWidget* owner, const char* className, const QString& caption, QSize clientSize)
    : QDialog(owner, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(className);
    setWindowTitle(caption);
    setFixedSize(clientSize);
    setModal(true);
}

void ToolWindow::ShowModal() {
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->frameGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    exec();
}

}  // namespace vernalith
