#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
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

#include "app/command_map.h"
#include "app/editor.h"
#include "app/literal_text.h"
#include "app/qt_text.h"
#include "app/ui_services.h"
#include "automatic/procedure_runners.h"

namespace vernalith {
namespace {

constexpr const char* kWebSite = "https://vernalith.org/";
constexpr const char* kForum = "https://vernalith.org/forum/";
constexpr const char* kAboutText = "Vernalith ver 3.05 beta";

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

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
    runner_ = std::make_unique<CommandRunner>(*this, *editor_, ui_, settings_, *progress_, random_,
                                              [this] { RefreshControls(); });
    AttachBuiltInHandlers();
    RefreshControls();
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
            // Hints quote tags ("простановка <p> ..."): shown as written, never taken for markup.
            button->installEventFilter(new LiteralToolTips(button));
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

    for (const CommandSpec& command : CommandMap()) {
        if (command.images.used()) {
            SetImageIndex(command.control,
                          command.images.initiallyOn ? command.images.onImage : command.images.offImage);
        }
    }

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
    for (const CommandSpec& owner : CommandMap()) {
        QMenu* menu = dropDownMenu(owner.control);
        QToolButton* button = toolButton(owner.control);
        if (!menu || !button) continue;
        if (owner.menuEndsWithClose) {
            // "закрыть меню" only closes the menu.
            menu->addSeparator();
            QAction* close = menu->addAction(ToQString(kCloseMenuText));
            close->setObjectName(menu->objectName().chopped(4) + "CloseMenu");
        }
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        if (owner.rightClickMenu) {
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(button, &QWidget::customContextMenuRequested, this,
                    [menu, button](const QPoint& at) { menu->popup(button->mapToGlobal(at)); });
        }
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
    if (command.notBuiltYet) return;
    if (runner_->Busy() && ChangesText(command)) return;
    if (auto it = handlers_.find(command.handler); it != handlers_.end()) {
        it->second();
    } else if (command.procedure) {
        // The procedures of the table are pure: they run on a worker, the window answering meanwhile.
        runner_->WholeTextCommand(action(command.control), RunnerOf(*command.procedure),
                                  command.kind == Kind::WholeTextPumpFirst, {.thread = CommandRunner::Thread::Worker});
    } else if (!command.togglesToolBar.empty()) {
        SetToolBarShown(command.togglesToolBar, !toolBar(command.togglesToolBar)->isVisibleTo(this));
    } else {
        // Every control of the map runs something; one that does not is a mistake in the program.
        qCritical("control %.*s: no handler %.*s attached", int(command.control.size()), command.control.data(),
                  int(command.handler.size()), command.handler.data());
        Q_ASSERT_X(false, "MainWindow::RunControl", "a control resolves to nothing");
    }
}

void MainWindow::AttachBuiltInHandlers() {
    SetHandler("ToolButton40Click", [this] { ui_.OpenUrl(QString::fromLatin1(kWebSite)); });
    SetHandler("ToolButton45Click", [this] { ui_.OpenUrl(QString::fromLatin1(kForum)); });
    SetHandler("N9Click", [this] { ui_.ShowMessage(this, QString::fromLatin1(kAboutText)); });
    SetHandler("N2Click", [this] { close(); });
    SetHandler("ToolButton50Click", [this] { runner_->UndoLastCommand(); });
    SetHandler("Action6Execute", [this] { runner_->UndoHotKey(); });
    // The editor's own editing operations.
    SetHandler("N3Click", [this] { editor_->cut(); });
    SetHandler("N4Click", [this] { editor_->copy(); });
    SetHandler("N5Click", [this] { editor_->paste(); });
    SetHandler("N7Click", [this] { editor_->selectAll(true); });
    SetHandler("N31Click", [this] { editor_->Clear(); });
}

void MainWindow::OnEditorChanged() {
    statusPanels_[0]->setText(QStringLiteral(" всего строк: %1").arg(editor_->LineCount()));
    statusPanels_[1]->setText(QStringLiteral(" всего символов: %1").arg(editor_->TextLength()));
    runner_->DropUndo();
    emit EditorChanged();
}

void MainWindow::RefreshControls() {
    const bool busy = runner_->Busy();
    for (const CommandSpec& command : CommandMap()) {
        QAction* a = action(command.control);
        if (!a) continue;
        if (command.notBuiltYet) {
            a->setEnabled(false);
        } else if (command.kind == Kind::Undo) {
            // The undo button shows whether the snapshot may be put back; F4 works whenever no
            // command runs.
            a->setEnabled(!busy && (command.place == Place::HotKey || runner_->UndoAvailable()));
        } else if (ChangesText(command)) {
            a->setEnabled(!busy);
            // Nor can its drop-down menu change what the running command reads.
            if (QMenu* menu = dropDownMenu(command.control)) menu->setEnabled(!busy);
        }
    }
}

int MainWindow::ImageIndex(std::string_view control) const {
    QAction* a = action(control);
    return a ? a->property("imageIndex").toInt() : -1;
}

void MainWindow::SetImageIndex(std::string_view control, int image) {
    QAction* a = action(control);
    if (!a) return;
    a->setProperty("imageIndex", image);
    if (const CommandSpec* command = FindCommand(control); command && command->images.used()) {
        const StateImages& images = command->images;
        a->setIcon(QIcon::fromTheme(ToQString(image == images.onImage ? images.onIcon : images.offIcon)));
    }
    emit ControlStateChanged(a->objectName());
}

bool MainWindow::IsMarked(std::string_view control) const { return ImageIndex(control) == kCheckImage; }

void MainWindow::SetMarked(std::string_view control, bool marked) {
    QAction* a = action(control);
    if (!a) return;
    a->setProperty("imageIndex", marked ? kCheckImage : -1);
    a->setIcon(marked ? QIcon::fromTheme(ToQString(kCheckIcon)) : QIcon());
    emit ControlStateChanged(a->objectName());
}

void MainWindow::SetToolBarShown(std::string_view bar, bool shown) {
    toolBar(bar)->setVisible(shown);
    for (const CommandSpec& command : CommandMap()) {
        if (command.togglesToolBar == bar) {
            SetImageIndex(command.control, shown ? command.images.onImage : command.images.offImage);
        }
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

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeStep_ && !closeStep_()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace vernalith
