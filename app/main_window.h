#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/command_runner.h"
#include "app/progress_panel.h"
#include "app/window_settings.h"
#include "core/procedure_context.h"

class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace vernalith {

class Editor;
class UiServices;
struct CommandSpec;

// The main window `TForm1`: menus, the page "Обработка вручную" with the four tool bars and the
// editor, the status bar and the floating progress panel. Menus, tool bars and hot keys are built
// from the command map; a control's handler is looked up by name, so features attach their
// handlers without the window knowing them.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(UiServices& ui, RandomSource& random);
    ~MainWindow() override;

    Editor* editor() const { return editor_; }
    QAction* action(std::string_view control) const;
    QToolButton* toolButton(std::string_view control) const;
    QMenu* dropDownMenu(std::string_view control) const;
    QToolBar* toolBar(std::string_view name) const;
    ProgressPanel* progressPanel() const { return panel_; }
    QLabel* statusPanel(int index) const;
    WindowSettings& settings() { return settings_; }
    WindowProgress& progress() { return *progress_; }
    UiServices& ui() { return ui_; }
    RandomSource& random() { return random_; }

    // Attaches the code a control runs (by its handler name, e.g. "ToolButton17Click").
    void SetHandler(std::string_view handler, std::function<void()> run);
    bool HasHandler(std::string_view handler) const { return handlers_.contains(handler); }
    // Runs a control's handler as a click or key press would.
    void Trigger(std::string_view control);

    // The command wrapper, the one-level undo and the busy state.
    CommandRunner& runner() { return *runner_; }
    const CommandRunner& runner() const { return *runner_; }

    // A two-state button's state image (tool-bar toggles, highlighting) and a drop-down item's mark.
    int ImageIndex(std::string_view control) const;
    void SetImageIndex(std::string_view control, int image);
    bool IsMarked(std::string_view control) const;
    void SetMarked(std::string_view control, bool marked);

    // Shows or hides an optional tool bar with its button's image, as its toggle does.
    void SetToolBarShown(std::string_view toolBar, bool shown);

    // What the show step does after the window's own part, the first time the window is shown: it
    // fills the other windows' fields and whatever depends on them (set up at start-up).
    void SetShowStep(std::function<void()> step) { showStep_ = std::move(step); }
    // What the close step does (set up at start-up); the window stays open when it returns false.
    void SetCloseStep(std::function<bool()> step) { closeStep_ = std::move(step); }

signals:
    // After the editor's change notification has been handled.
    void EditorChanged();
    // After a control's state image or menu mark was set (by a command or a loaded setting).
    void ControlStateChanged(const QString& control);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildPage();
    void BuildToolBar(QToolBar* bar, int place);
    QAction* MakeAction(const CommandSpec& command);
    void BuildDropDownMenus();
    void BuildHotKeys();
    void BuildStatusBar();
    void AttachBuiltInHandlers();
    void RunControl(const CommandSpec& command);
    void OnEditorChanged();
    // Enables the controls as the busy state, the undo availability and the unbuilt marks say.
    void RefreshControls();
    void PlaceProgressPanel();

    UiServices& ui_;
    RandomSource& random_;
    Editor* editor_ = nullptr;
    QTabWidget* pages_ = nullptr;
    ProgressPanel* panel_ = nullptr;
    QLabel* statusPanels_[3] = {};
    std::map<std::string, QToolBar*, std::less<>> toolBars_;
    std::map<std::string, QAction*, std::less<>> actions_;
    std::map<std::string, QMenu*, std::less<>> menus_;
    std::map<std::string, std::function<void()>, std::less<>> handlers_;
    std::function<void()> showStep_;
    std::function<bool()> closeStep_;
    WindowSettings settings_;
    std::unique_ptr<WindowProgress> progress_;
    std::unique_ptr<CommandRunner> runner_;
    bool shownOnce_ = false;
};

}  // namespace vernalith
