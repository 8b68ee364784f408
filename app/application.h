#pragma once

#include <QString>
#include <memory>

class QApplication;

namespace vernalith {

class MainWindow;
class TagHotkeyWindow;
class TextInfoWindow;
class CustomTagWindow;
class FunctionSettingsWindow;
class ListEditorWindow;
class SettingsStorage;
class UiServices;
class RandomSource;

// Application-wide look: title, Qt's own texts in Russian, the Tahoma-like 8 pt font, the icon theme, tool
// tips without delay.
void ConfigureApplication(QApplication& app);

// Every window of the program, created once at start-up in this order and kept until exit.
struct ApplicationWindows {
    std::unique_ptr<MainWindow> form1;
    TagHotkeyWindow* form3 = nullptr;
    TextInfoWindow* form4 = nullptr;
    CustomTagWindow* form5 = nullptr;
    FunctionSettingsWindow* form6 = nullptr;
    ListEditorWindow* form7 = nullptr;
    std::unique_ptr<SettingsStorage> storage;

    ~ApplicationWindows();
};

// Creates the windows and connects the commands that open them; the settings are kept in the
// settings files of `settingsFolder`.
std::unique_ptr<ApplicationWindows> CreateApplicationWindows(UiServices& ui, RandomSource& random,
                                                             const QString& settingsFolder);

}  // namespace vernalith
