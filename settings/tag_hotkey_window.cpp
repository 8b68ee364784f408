#include "settings/tag_hotkey_window.h"

namespace vernalith {

TagHotkeyWindow::TagHotkeyWindow(QWidget* owner)
    : ToolWindow(owner, "TForm3", QStringLiteral(" Настройка"), QSize(316, 177)) {}

}  // namespace vernalith
