// The main window as the user meets it: the command map's controls in their places, tool bars and
// their toggles, drop-down menus, the progress panel's position, the secondary windows.
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/automatic/list_editor_window.h"
#include "app/command_map.h"
#include "app/custom_tag_window.h"
#include "app/progress_panel.h"
#include "app/settings/function_settings_window.h"
#include "app/settings/tag_hotkey_window.h"
#include "app/support/gui_fixture.h"
#include "app/text_info_window.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;
using vernalith::testing::Q;

namespace {

// The tool bars' contents as the user sees them: control names in order, "|" for a separator.
QStringList Layout(QToolBar* bar) {
    QStringList items;
    for (QAction* a : bar->actions()) items << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    return items;
}

QStringList MenuTexts(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions()) items << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return items;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void toolBarsHoldEveryButtonInOrder() {
        GuiFixture f;
        QCOMPARE(Layout(f.window().toolBar("ToolBar4")),
                 QStringList({"ToolButton39", "ToolButton38", "|", "ToolButton15", "ToolButton21", "ToolButton53", "|",
                              "ToolButton36", "ToolButton17", "ToolButton37", "|", "ToolButton34", "|", "ToolButton40",
                              "ToolButton45", "|", "ToolButton50"}));
        QCOMPARE(Layout(f.window().toolBar("ToolBar6")),
                 QStringList({"ToolButton46", "ToolButton18", "ToolButton16", "ToolButton19", "ToolButton35", "|",
                              "ToolButton48"}));
        QCOMPARE(Layout(f.window().toolBar("ToolBar7")),
                 QStringList({"ToolButton22", "ToolButton29", "ToolButton28", "ToolButton63", "ToolButton33",
                              "ToolButton26", "ToolButton27", "|", "ToolButton30", "ToolButton62", "ToolButton31",
                              "ToolButton32", "|", "ToolButton60"}));
        QCOMPARE(Layout(f.window().toolBar("ToolBar8")), QStringList({"ToolButton57"}));
    }

    void everyControlHasItsExactTextAndADistinctIcon() {
        GuiFixture f;
        const QStringList hints = {
            "ToolButton22=удаление лишних пробелов",
            "ToolButton33=удаление пустых строк",
            "ToolButton29=удаление повторяющихся знаков препинания и знаков препинания вначале строк",
            "ToolButton53=функции для работы с дорвеями и ключевиками, прочие функции",
            "ToolButton18=простановка <p> (так же можно проставить тег только в выделенном промежутке текста)",
            "ToolButton16=вставка тегов, выделите нужный фрагмент текста и нажмите соответствующий хоткей",
            "ToolButton19=подсчет количества статей по тегу <Hx>, подсчет тегов",
            "ToolButton57=удалить дубликаты строк (чувствительно к регистру)",
            "ToolButton50=отменить - F4",
            "ToolButton37=подсветка синтаксиса включить/отключить",
            "ToolButton40=проверить обновления на сайте программы",
            "ToolButton45=обсудить на форуме, предложить новые функции",
            "ToolButton46=проставить заголовки - F9",
        };
        for (const QString& pair : hints) {
            const QString control = pair.section('=', 0, 0);
            QToolButton* button = f.window().toolButton(control.toStdString());
            QVERIFY2(button, qPrintable(control));
            QCOMPARE(button->toolTip(), pair.section('=', 1));
        }
        QSet<qint64> icons;
        int buttons = 0;
        for (const CommandSpec& command : CommandMap()) {
            QAction* a = f.window().action(command.control);
            QVERIFY2(a, command.control.data());
            QCOMPARE(a->text(), Q(command.text));
            if (command.icon.empty()) continue;
            ++buttons;
            QVERIFY2(!a->icon().isNull(), command.control.data());
            QVERIFY2(!a->icon().pixmap(16, 16).isNull(), command.control.data());
            QVERIFY2(!a->icon().pixmap(16, 16, QIcon::Disabled).isNull(), command.control.data());
            icons.insert(a->icon().pixmap(16, 16).toImage().cacheKey() ^ qHash(a->icon().name()));
        }
        QSet<QString> names;
        for (const CommandSpec& command : CommandMap()) {
            if (!command.icon.empty()) names.insert(f.window().action(command.control)->icon().name());
        }
        QCOMPARE(names.size(), buttons);  // every button a picture of its own
    }

    void menusAndDropDowns() {
        GuiFixture f;
        const QList<QAction*> top = f.window().menuBar()->actions();
        QCOMPARE(top.size(), 2);
        QCOMPARE(top[0]->text(), QStringLiteral("&Файл"));
        QCOMPARE(top[1]->text(), QStringLiteral("&Справка"));
        QCOMPARE(MenuTexts(top[0]->menu()), QStringList({"открыть как...", "сохранить как...", "|", "выход"}));
        QCOMPARE(MenuTexts(top[1]->menu()), QStringList({"о программе"}));
        QCOMPARE(MenuTexts(f.window().dropDownMenu("ToolButton46")),
                 QStringList({"h1", "h2", "h3", "h4", "h5", "|", "дублировать заголовок"}));
        QCOMPARE(MenuTexts(f.window().dropDownMenu("ToolButton37")),
                 QStringList({"подсветка синтаксиса php", "подсветка синтаксиса css", "подсветка синтаксиса htm",
                              "подсветка синтаксиса sql", "|", "закрыть меню"}));
        for (const char* button :
             {"ToolButton36", "ToolButton35", "ToolButton28", "ToolButton63", "ToolButton30", "ToolButton62"}) {
            QCOMPARE(MenuTexts(f.window().dropDownMenu(button)), QStringList({"параметры", "|", "закрыть меню"}));
            QCOMPARE(f.window().toolButton(button)->popupMode(), QToolButton::MenuButtonPopup);
        }
        QCOMPARE(MenuTexts(f.window().dropDownMenu("ToolButton19")),
                 QStringList({"ввести свой тег", "|", "закрыть меню"}));
        QCOMPARE(f.window().toolButton("ToolButton63")->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(MenuTexts(f.window().dropDownMenu("richedit1")),
                 QStringList({"вырезать", "копировать", "вставить", "|", "выделить все", "очистить поле"}));
        QCOMPARE(f.window().action("Action6")->shortcut(), QKeySequence(Qt::Key_F4));
        QCOMPARE(f.window().action("Action5")->shortcut(), QKeySequence(Qt::Key_F9));
    }

    void startStateAndLayout() {
        GuiFixture f;
        QCOMPARE(f.window().windowTitle(), QStringLiteral("Vernalith"));
        QCOMPARE(f.window().minimumSize(), QSize(600, 497));
        auto* pages = f.window().findChild<QTabWidget*>("PageControl1");
        QCOMPARE(pages->count(), 1);
        QCOMPARE(pages->tabText(0), QStringLiteral("&Обработка вручную"));
        f.window().show();
        QVERIFY(f.window().toolBar("ToolBar4")->isVisible());
        for (const char* bar : {"ToolBar6", "ToolBar7", "ToolBar8"}) QVERIFY(!f.window().toolBar(bar)->isVisible());
        QVERIFY(!f.window().action("ToolButton50")->isEnabled());
        QCOMPARE(f.window().toolBar("ToolBar4")->height(), 25);
        QCOMPARE(f.window().toolBar("ToolBar4")->iconSize(), QSize(16, 16));
        QCOMPARE(f.window().statusPanel(0)->width(), 177);
        QCOMPARE(f.window().statusPanel(1)->width(), 177);
        QVERIFY(f.window().statusPanel(2)->width() >= 50);
        for (int i = 0; i < 3; ++i) QVERIFY(f.window().statusPanel(i)->text().isEmpty());
        ProgressPanel* panel = f.window().progressPanel();
        QVERIFY(!panel->isVisible());
        QCOMPARE(panel->size(), QSize(279, 77));
        QCOMPARE(panel->caption()->text(), QStringLiteral("статус"));
        QCOMPARE(panel->gauge2()->geometry(), QRect(8, 8, 265, 18));
        QCOMPARE(panel->gauge1()->geometry(), QRect(8, 32, 265, 17));
        QCOMPARE(panel->stopButton()->text(), QStringLiteral("остановить"));
        QVERIFY(!panel->stopButton()->isVisible());
        QCOMPARE(f.window().ImageIndex("ToolButton37"), 34);
    }

    void progressPanelStaysCentred() {
        QCOMPARE(ProgressPanelPosition(1000, 700), QPoint(360, 284));
        QCOMPARE(ProgressPanelPosition(1001, 701), QPoint(361, 285));
        QCOMPARE(ProgressPanelPosition(600, 497), QPoint(160, 183));
        GuiFixture f;
        f.window().show();
        // The rule takes the outer size: size the client so that the frame is 1000 x 700.
        const QSize frame = f.window().frameGeometry().size() - f.window().size();
        f.window().resize(QSize(1000, 700) - frame);
        QTRY_COMPARE(f.window().frameGeometry().size(), QSize(1000, 700));
        QCOMPARE(f.window().progressPanel()->pos(), QPoint(360, 284));
        f.window().resize(QSize(801, 600) - frame);
        QTRY_COMPARE(f.window().progressPanel()->pos(), ProgressPanelPosition(801, 600));
    }

    void toolBarTogglesSwitchBarAndImage() {
        GuiFixture f;
        f.window().show();
        struct {
            const char* button;
            const char* bar;
            int hidden, shown;
        } toggles[] = {{"ToolButton15", "ToolBar6", 6, 7},
                       {"ToolButton21", "ToolBar7", 11, 12},
                       {"ToolButton53", "ToolBar8", 35, 36}};
        for (const auto& t : toggles) {
            QCOMPARE(f.window().ImageIndex(t.button), t.hidden);
            const QString hiddenIcon = f.window().action(t.button)->icon().name();
            f.window().action(t.button)->trigger();
            QVERIFY(f.window().toolBar(t.bar)->isVisible());
            QCOMPARE(f.window().ImageIndex(t.button), t.shown);
            QVERIFY(f.window().action(t.button)->icon().name() != hiddenIcon);
            f.window().action(t.button)->trigger();
            QVERIFY(!f.window().toolBar(t.bar)->isVisible());
            QCOMPARE(f.window().ImageIndex(t.button), t.hidden);
        }
    }

    void aboutLinksAndExit() {
        GuiFixture f;
        f.window().show();
        f.window().action("N9")->trigger();
        QCOMPARE(f.ui.messages, QStringList({"Vernalith ver 3.05 beta"}));
        f.window().action("ToolButton40")->trigger();
        f.window().action("ToolButton45")->trigger();
        QCOMPARE(f.ui.urls.size(), 2);
        QVERIFY(f.ui.urls[0] != f.ui.urls[1]);
        f.window().action("N2")->trigger();
        QVERIFY(!f.window().isVisible());
    }

    void secondaryWindowsExistFromStartUp() {
        GuiFixture f;
        struct {
            QDialog* window;
            const char* name;
            const char* caption;
            QSize size;
        } windows[] = {
            {f.windows->form3, "TForm3", " Настройка", {316, 177}},
            {f.windows->form4, "TForm4", " Информация о тексте", {431, 142}},
            {f.windows->form5, "TForm5", " Подсчет своего тега", {233, 67}},
            {f.windows->form6, "TForm6", " Настройка функций", {336, 304}},
            {f.windows->form7, "TForm7", " Автоматическая обработка текста", {428, 359}},
        };
        QObject* previous = nullptr;
        for (const auto& w : windows) {
            QVERIFY(w.window);
            QCOMPARE(w.window->objectName(), QString(w.name));
            QCOMPARE(w.window->windowTitle(), QString::fromUtf8(w.caption));
            // The least client size; the function settings are wider, so that all their tabs show.
            QVERIFY(w.window->width() >= w.size.width());
            if (w.window != f.windows->form6) QCOMPARE(w.window->width(), w.size.width());
            QCOMPARE(w.window->height(), w.size.height());
            QVERIFY(w.window->isModal());
            QVERIFY(w.window->windowFlags() & Qt::Tool);
            QVERIFY(!w.window->isVisible());
            // Created in start-up order: each after the one before it among the main window's children.
            const QObjectList children = f.window().children();
            if (previous) QVERIFY(children.indexOf(previous) < children.indexOf(w.window));
            previous = w.window;
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
