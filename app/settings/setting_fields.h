#pragma once

#include <span>

class QWidget;

namespace vernalith {

class MainWindow;

// Binds every setting of the settings table to the field, menu mark, tool bar or button that shows it
// (in the main window or one of `windows`, found by object name) and puts the setting's default there.
// A field that cannot be found is a programming error: it stops a debug build and is logged otherwise.
void BindSettingFields(MainWindow& main, std::span<QWidget* const> windows);

}  // namespace vernalith
