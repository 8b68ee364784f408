#include "settings/function_settings_window.h"

namespace vernalith {

FunctionSettingsWindow::FunctionSettingsWindow(QWidget* owner)
    : ToolWindow(owner, "TForm6", QStringLiteral(" Настройка функций"), QSize(336, 304)) {}

}  // namespace vernalith
