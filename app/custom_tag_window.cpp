#include "app/custom_tag_window.h"

namespace vernalith {

CustomTagWindow::CustomTagWindow(QWidget* owner)
    : ToolWindow(owner, "TForm5", QStringLiteral(" Подсчет своего тега"), QSize(233, 67)) {}

}  // namespace vernalith
