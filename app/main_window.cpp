#include "app/main_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/command_failure.h"
#include "app/command_map.h"
#include "app/editor.h"
#include "app/qt_text.h"
#include "app/ui_services.h"
#include "automatic/procedure_registry.h"

namespace vernalith {
namespace {

constexpr const char* kWebSite = "https://vernalith.org/";
constexpr const char* kForum = "https://vernalith.org/forum/";
constexpr const char* kAboutText = "Vernalith ver 3.05 beta";

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

bool IsTextCommand(const CommandSpec& command) {
    switch (command.kind) {
        case Kind::WholeText:
        case Kind::WholeTextPumpFirst:
        case Kind::Selection:
        case Kind::Undo:
            return true;
        default:
            // Opening a file and clearing the editor replace the text too.
            return command.handler == "N23Click" || command.handler == "N31Click";
    }
}

const char* ToolBarName(Place place) {
    switch (place) {
        case Place::ToolBar4:
            return "ToolBar4";
        case Place::ToolBar6:
            return "ToolBar6";
        case Place::ToolBar7:
            return "ToolBar7";
        case Place::ToolBar8:
            return "ToolBar8";
        default:
            return nullptr;
    }
}

}  // namespace

MainWindow::MainWindow(UiServices& ui, RandomSource& random) : ui_(ui), random_(random) {
    setObjectName("TForm1");
    setWindowTitle(QStringLiteral("Vernalith"));
    resize(647, 496);
    setMinimumSize(600, 497);
    BuildMenus();
    BuildPage();
    BuildStatusBar();
    BuildDropDownMenus();
    BuildHotKeys();
    AttachBuiltInHandlers();
    RefreshUndoButton();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::action(std::string_view control) const {
    auto it = actions_.find(control);
    return it == actions_.end() ? nullptr : it->second;
}

QToolButton* MainWindow::toolButton(std::string_view control) const {
    QAction* a = action(control);
    if (!a) return nullptr;
    for (auto& [name, bar] : toolBars_) {
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a))) return button;
    }
    return nullptr;
}

QMenu* MainWindow::dropDownMenu(std::string_view control) const {
    auto it = menus_.find(control);
    return it == menus_.end() ? nullptr : it->second;
}

QToolBar* MainWindow::toolBar(std::string_view name) const {
    auto it = toolBars_.find(name);
    return it == toolBars_.end() ? nullptr : it->second;
}

QLabel* MainWindow::statusPanel(int index) const { return statusPanels_[index]; }

QAction* MainWindow::MakeAction(const CommandSpec& command) {
    auto* a = new QAction(this);
    a->setObjectName(ToQString(command.control));
    a->setText(ToQString(command.text));
    a->setToolTip(ToQString(command.text));
    if (!command.icon.empty()) a->setIcon(QIcon::fromTheme(ToQString(command.icon)));
    connect(a, &QAction::triggered, this, [this, &command] { RunControl(command); });
    actions_[std::string(command.control)] = a;
    return a;
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->setObjectName("FileMenu");
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Справка"));
    help->setObjectName("HelpMenu");
    for (const CommandSpec& command : CommandMap()) {
        if (command.place != Place::FileMenu && command.place != Place::HelpMenu) continue;
        QMenu* menu = command.place == Place::FileMenu ? file : help;
        if (command.separatorBefore) menu->addSeparator();
        menu->addAction(MakeAction(command));
    }
}

void MainWindow::BuildToolBar(QToolBar* bar, int place) {
    for (const CommandSpec& command : CommandMap()) {
        if (static_cast<int>(command.place) != place) continue;
        if (command.separatorBefore) bar->addSeparator();
        QAction* a = MakeAction(command);
        bar->addAction(a);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
            button->setObjectName(ToQString(command.control));
        }
    }
}

void MainWindow::BuildPage() {
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    auto* page = new QWidget(pages_);
    page->setObjectName("TabSheet1");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto addBar = [&](Place place, bool optional) {
        auto* bar = new QToolBar(page);
        bar->setObjectName(ToolBarName(place));
        bar->setIconSize(QSize(16, 16));
        bar->setFixedHeight(25);
        bar->setMovable(false);
        if (optional) {
            bar->setStyleSheet("QToolBar#" + bar->objectName() + " { border-top: 1px solid palette(mid); }");
            bar->hide();
        }
        BuildToolBar(bar, static_cast<int>(place));
        toolBars_[ToolBarName(place)] = bar;
        layout->addWidget(bar);
    };
    addBar(Place::ToolBar4, false);
    addBar(Place::ToolBar6, true);
    layout->addSpacing(3);
    addBar(Place::ToolBar7, true);
    addBar(Place::ToolBar8, true);
    editor_ = new Editor(page);
    layout->addWidget(editor_, 1);
    pages_->addTab(page, QStringLiteral("&Обработка вручную"));
    setCentralWidget(pages_);
    connect(editor_, &Editor::Changed, this, &MainWindow::OnEditorChanged);

    for (const StateIcons& state : StateIconTable()) SetImageIndex(state.control, state.offImage);
    SetImageIndex("ToolButton37", 34);  // highlighting is on at start

    // The editor's context menu.
    auto* contextMenu = new QMenu(editor_);
    contextMenu->setObjectName("PopupMenu1");
    for (const CommandSpec& command : CommandMap()) {
        if (command.place != Place::EditorMenu) continue;
        if (command.separatorBefore) contextMenu->addSeparator();
        contextMenu->addAction(MakeAction(command));
    }
    menus_["richedit1"] = contextMenu;
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor_, &QWidget::customContextMenuRequested, this,
            [this, contextMenu](const QPoint& at) { contextMenu->popup(editor_->mapToGlobal(at)); });

    panel_ = new ProgressPanel(centralWidget());
}

void MainWindow::BuildStatusBar() {
    QLabel* percent = nullptr;
    statusBar()->setObjectName("StatusBar1");
    statusBar()->setSizeGripEnabled(true);
    const int widths[3] = {177, 177, 50};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(statusBar());
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < 2) {
            label->setFixedWidth(widths[i]);
            statusBar()->addWidget(label);
        } else {
            // The percentage panel is at least 50 pixels and takes the rest, so its text is never cut.
            label->setMinimumWidth(widths[i]);
            statusBar()->addWidget(label, 1);
            percent = label;
        }
        statusPanels_[i] = label;
    }
    progress_ = std::make_unique<WindowProgress>(*panel_, *percent);
}

void MainWindow::BuildDropDownMenus() {
    for (const CommandSpec& command : CommandMap()) {
        if (command.place != Place::DropDown) continue;
        QMenu*& menu = menus_[std::string(command.parent)];
        if (!menu) {
            menu = new QMenu(this);
            menu->setObjectName(ToQString(command.parent) + "Menu");
        }
        if (command.separatorBefore) menu->addSeparator();
        QAction* item = MakeAction(command);
        menu->addAction(item);
    }
    for (auto& [parent, menu] : menus_) {
        if (parent == "richedit1") continue;
        // Every drop-down menu but the headings menu ends with "закрыть меню", which only closes it.
        if (parent != "ToolButton46") {
            menu->addSeparator();
            QAction* close = menu->addAction(ToQString(kCloseMenuText));
            close->setObjectName(ToQString(parent) + "CloseMenu");
        }
        QToolButton* button = toolButton(parent);
        if (!button) continue;
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    // The footnote button's menu also opens on a right-click.
    if (QToolButton* footnotes = toolButton("ToolButton63")) {
        footnotes->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(footnotes, &QWidget::customContextMenuRequested, this, [this, footnotes](const QPoint& at) {
            dropDownMenu("ToolButton63")->popup(footnotes->mapToGlobal(at));
        });
    }
}

void MainWindow::BuildHotKeys() {
    for (const CommandSpec& command : CommandMap()) {
        if (command.place != Place::HotKey) continue;
        QAction* key = MakeAction(command);
        key->setShortcut(QKeySequence(ToQString(command.shortcut)));
        key->setShortcutContext(Qt::WindowShortcut);
        addAction(key);
    }
}

void MainWindow::SetHandler(std::string_view handler, std::function<void()> run) {
    handlers_[std::string(handler)] = std::move(run);
}

void MainWindow::Trigger(std::string_view control) {
    if (const CommandSpec* command = FindCommand(control)) {
        if (QAction* a = action(control); a && !a->isEnabled()) return;
        RunControl(*command);
    }
}

void MainWindow::RunControl(const CommandSpec& command) {
    if (busy_ && IsTextCommand(command)) return;
    if (auto it = handlers_.find(command.handler); it != handlers_.end()) {
        it->second();
        return;
    }
    if (command.kind == Kind::WholeText || command.kind == Kind::WholeTextPumpFirst) {
        // A procedure that is not part of the program yet makes its button do nothing.
        const ProcedureInfo* info = FindProcedure(command.procedure);
        if (!info) return;
        WholeTextCommand(action(command.control), info->run, command.kind == Kind::WholeTextPumpFirst);
    }
}

void MainWindow::AttachBuiltInHandlers() {
    SetHandler("ToolButton15Click", [this] { ToggleToolBar("ToolBar6"); });
    SetHandler("ToolButton21Click", [this] { ToggleToolBar("ToolBar7"); });
    SetHandler("ToolButton53Click", [this] { ToggleToolBar("ToolBar8"); });
    SetHandler("ToolButton40Click", [this] { ui_.OpenUrl(QString::fromLatin1(kWebSite)); });
    SetHandler("ToolButton45Click", [this] { ui_.OpenUrl(QString::fromLatin1(kForum)); });
    SetHandler("N9Click", [this] { ui_.ShowMessage(this, QString::fromLatin1(kAboutText)); });
    SetHandler("N2Click", [this] { close(); });
    SetHandler("ToolButton50Click", [this] { UndoLastCommand(); });
    SetHandler("Action6Execute", [this] { UndoHotKey(); });
    // The editor's own editing operations.
    SetHandler("N3Click", [this] { editor_->cut(); });
    SetHandler("N4Click", [this] { editor_->copy(); });
    SetHandler("N5Click", [this] { editor_->paste(); });
    SetHandler("N7Click", [this] { editor_->selectAll(true); });
    SetHandler("N31Click", [this] { editor_->Clear(); });
}

void MainWindow::WholeTextCommand(QAction* button, const Procedure& procedure, bool pumpFirst) {
    RunTextCommand(button, [&] {
        if (pumpFirst) QCoreApplication::processEvents();
        TakeUndoSnapshot();
        ProcedureContext context{settings_, *progress_, random_};
        const std::u16string result = procedure(undoSnapshot_, context);
        editor_->ReplaceText(result);
    });
}

void MainWindow::RunTextCommand(QAction* button, const std::function<void()>& work) {
    if (busy_) return;
    if (button) button->setEnabled(false);
    SetBusy(true);
    const QString failure = RunCatchingFailure(work);
    SetBusy(false);
    if (button) button->setEnabled(true);
    if (!failure.isEmpty()) ui_.ShowError(this, failure);
}

void MainWindow::TakeUndoSnapshot() {
    // The snapshot is the editor text exactly, so undo gives back exactly what was there.
    undoSnapshot_ = editor_->Text();
    undoAvailable_ = true;
    RefreshUndoButton();
}

void MainWindow::UndoLastCommand() {
    if (!undoAvailable_ || busy_) return;
    editor_->ReplaceText(undoSnapshot_);
    undoAvailable_ = false;
    RefreshUndoButton();
}

void MainWindow::UndoHotKey() {
    if (busy_) return;
    if (undoAvailable_) UndoLastCommand();
    undoAvailable_ = false;
    RefreshUndoButton();
}

void MainWindow::OnEditorChanged() {
    statusPanels_[0]->setText(QStringLiteral(" всего строк: %1").arg(editor_->LineCount()));
    statusPanels_[1]->setText(QStringLiteral(" всего символов: %1").arg(editor_->TextLength()));
    undoAvailable_ = false;
    RefreshUndoButton();
    emit EditorChanged();
}

void MainWindow::SetBusy(bool busy) {
    busy_ = busy;
    editor_->SetBusy(busy);
    for (const CommandSpec& command : CommandMap()) {
        if (!IsTextCommand(command) || command.kind == Kind::Undo) continue;
        if (QAction* a = action(command.control)) a->setEnabled(!busy);
    }
    if (QMenu* menu = dropDownMenu("ToolButton36")) menu->setEnabled(!busy);
    if (QAction* key = action("Action6")) key->setEnabled(!busy);
    RefreshUndoButton();
}

void MainWindow::RefreshUndoButton() {
    if (QAction* undo = action("ToolButton50")) undo->setEnabled(undoAvailable_ && !busy_);
}

int MainWindow::ImageIndex(std::string_view control) const {
    QAction* a = action(control);
    return a ? a->property("imageIndex").toInt() : -1;
}

void MainWindow::SetImageIndex(std::string_view control, int image) {
    QAction* a = action(control);
    if (!a) return;
    a->setProperty("imageIndex", image);
    for (const StateIcons& state : StateIconTable()) {
        if (state.control != control) continue;
        a->setIcon(QIcon::fromTheme(ToQString(image == state.onImage ? state.onIcon : state.offIcon)));
    }
}

bool MainWindow::IsMarked(std::string_view control) const { return ImageIndex(control) == 30; }

void MainWindow::SetMarked(std::string_view control, bool marked) {
    QAction* a = action(control);
    if (!a) return;
    a->setProperty("imageIndex", marked ? 30 : -1);
    a->setIcon(marked ? QIcon::fromTheme(ToQString(kCheckIcon)) : QIcon());
}

void MainWindow::ToggleToolBar(std::string_view bar) { SetToolBarShown(bar, !toolBar(bar)->isVisibleTo(this)); }

void MainWindow::SetToolBarShown(std::string_view bar, bool shown) {
    static const std::map<std::string_view, std::string_view> buttonOf = {
        {"ToolBar6", "ToolButton15"}, {"ToolBar7", "ToolButton21"}, {"ToolBar8", "ToolButton53"}};
    toolBar(bar)->setVisible(shown);
    const std::string_view button = buttonOf.at(bar);
    for (const StateIcons& state : StateIconTable()) {
        if (state.control == button) SetImageIndex(button, shown ? state.onImage : state.offImage);
    }
}

void MainWindow::PlaceProgressPanel() {
    const QSize outer = frameGeometry().size();
    panel_->move(ProgressPanelPosition(outer.width(), outer.height()));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    PlaceProgressPanel();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    // The show step: the editor starts empty; the first page is active.
    editor_->Clear();
    pages_->setCurrentIndex(0);
    progress_->ClearStop();
    PlaceProgressPanel();
    if (showStep_) showStep_();
}

}  // namespace vernalith
