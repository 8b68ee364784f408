#include "app/text_info_window.h"

namespace vernalith {

TextInfoWindow::TextInfoWindow(QWidget* owner)
    : ToolWindow(owner, "TForm4", QStringLiteral(" Информация о тексте"), QSize(431, 142)) {}

}  // namespace vernalith
