// The automatic processing through the real windows: the list editor's operations on the chain, the
// chain command with its message, undo and failure paths, and stopping a run.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include "app/automatic/chain_command.h"
#include "app/automatic/chain_list.h"
#include "app/automatic/list_editor_window.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/settings/function_settings_window.h"
#include "app/support/gui_fixture.h"
#include "automatic/chain.h"
#include "automatic/procedure_table.h"
#include "core/line_list.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;
using vernalith::testing::Q;
using vernalith::testing::U;

namespace {

ListEditorWindow& ListEditor(GuiFixture& f) { return *f.windows->form7; }

QStringList Entries(GuiFixture& f) {
    QStringList out;
    for (const auto& entry : ParseProcedureChain(f.window().settings().Value(Setting::ProcedureChain))) out << Q(entry);
    return out;
}

void SetChain(GuiFixture& f, const QStringList& entries) {
    ProcedureChain chain;
    for (const QString& entry : entries) chain.push_back(U(entry));
    f.window().settings().Assign(Setting::ProcedureChain, FormatProcedureChain(chain));
}

// A text of many lines with the pieces the default chain works on, about `size` code units long.
std::u16string LargeText(size_t size) {
    const std::u16string line = u"<p>Это  текст ,  в котором  много пробе-\r\nлов и знаков!!! (пример)</p>\r\n\r\n";
    std::u16string text;
    text.reserve(size + line.size());
    while (text.size() < size) text += line;
    return text;
}

// Runs a check when a widget is shown.
class OnShow : public QObject {
public:
    OnShow(QWidget* widget, std::function<void()> check) : widget_(widget), check_(std::move(check)) {
        widget_->installEventFilter(this);
    }
    ~OnShow() override { widget_->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) check_();
        return false;
    }

private:
    QWidget* widget_;
    std::function<void()> check_;
};

}  // namespace

class AutomaticProcessingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void theListEditorAsBuilt() {
        GuiFixture f;
        ListEditorWindow& w = ListEditor(f);
        QCOMPARE(w.windowTitle(), QStringLiteral(" Автоматическая обработка текста"));
        QCOMPARE(w.size(), QSize(428, 359));
        QCOMPARE(w.catalogueList()->count(), 16);
        for (int i = 0; i < 16; ++i) QCOMPARE(w.catalogueList()->item(i)->text(), Q(ProcedureCatalogue()[i]->caption));
        QStringList shape;
        for (QAction* a : w.toolBar()->actions())
            shape << (a->isSeparator() ? "|" : a->objectName() + " " + a->toolTip());
        QCOMPARE(shape, QStringList({"ToolButton2 добавить выделенный элемент (двойной клик по элементу) ",
                                     "ToolButton1 добавить все элементы", "|", "ToolButton3 очистить список процедур",
                                     "|", "ToolButton5 настройка функций"}));
        QStringList labels;
        for (QLabel* label : w.findChildren<QLabel*>()) labels << label->text();
        QCOMPARE(labels, QStringList({"все процедуры выполняются попорядку",
                                      "для изменения порядка перетаскивайте элементы списка"}));
        QCOMPARE(w.findChild<QPushButton*>("Button1")->text(), QStringLiteral("готово"));
        // The chain starts as the default one, in ListBox2.
        QCOMPARE(w.chainList()->objectName(), QStringLiteral("ListBox2"));
        QCOMPARE(w.chainList()->count(), 13);
        QCOMPARE(U(w.chainList()->item(12)->text()), std::u16string(u"удаление сносок"));
    }

    void listEditorOperationsActOnTheChainAtOnce() {
        GuiFixture f;
        ListEditorWindow& w = ListEditor(f);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Adding all on the default chain gives 13 + 16 entries, the old ones kept.
        w.findChild<QAction*>("ToolButton1")->trigger();
        QCOMPARE(Entries(f).size(), 29);
        QCOMPARE(Entries(f)[13], Q(ProcedureCatalogue()[0]->caption));
        // Clearing removes every entry, without asking.
        w.findChild<QAction*>("ToolButton3")->trigger();
        QVERIFY(Entries(f).isEmpty());
        QVERIFY(f.ui.messages.isEmpty());
        // Adding the selected entry with nothing selected changes nothing; then by button and by double-click.
        w.catalogueList()->clearSelection();
        w.catalogueList()->setCurrentRow(-1);
        w.findChild<QAction*>("ToolButton2")->trigger();
        w.ListBox1DblClick();
        QVERIFY(Entries(f).isEmpty());
        w.catalogueList()->setCurrentRow(3);
        w.findChild<QAction*>("ToolButton2")->trigger();
        QListWidgetItem* item = w.catalogueList()->item(13);
        w.catalogueList()->scrollToItem(item);
        const QPoint at = w.catalogueList()->visualItemRect(item).center();
        QTest::mouseClick(w.catalogueList()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.catalogueList()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(Entries(f), QStringList({"удаление лишних пробелов", "удалить дубликаты строк"}));
        // The Delete key removes the selected entry, and nothing when none is selected.
        ChainList* chain = w.chainList();
        chain->setFocus();
        chain->setCurrentRow(-1);
        QTest::keyClick(chain, Qt::Key_Delete);
        QCOMPARE(Entries(f).size(), 2);
        chain->setCurrentRow(0);
        QTest::keyClick(chain, Qt::Key_A);
        QCOMPARE(Entries(f).size(), 2);
        QTest::keyClick(chain, Qt::Key_Delete);
        QCOMPARE(Entries(f), QStringList({"удалить дубликаты строк"}));
        // A chain the settings loader assigns shows in the list.
        SetChain(f, {"x", "y"});
        QCOMPARE(chain->count(), 2);
    }

    void dragsFollowTheDropRule() {
        GuiFixture f;
        ListEditorWindow& w = ListEditor(f);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ChainList* chain = w.chainList();
        struct Case {
            int dragged;
            int target;  // -1: below the last entry
            QStringList expected;
        };
        const Case cases[] = {
            {0, 3, {"2", "3", "4", "1", "5"}},
            {3, 0, {"4", "1", "2", "3", "5"}},
            {1, -1, {"1", "3", "4", "5", "2"}},
            {2, 2, {"1", "2", "3", "4", "5"}},
        };
        for (const Case& c : cases) {
            SetChain(f, {"1", "2", "3", "4", "5"});
            chain->setCurrentRow(c.dragged);
            const QPoint drop = c.target >= 0 ? chain->visualItemRect(chain->item(c.target)).center()
                                              : QPoint(5, chain->viewport()->height() - 2);
            QVERIFY(c.target >= 0 || !chain->itemAt(drop));
            chain->ListBox2DragDrop(drop);
            QCOMPARE(Entries(f), c.expected);
        }
        // With nothing selected a drop changes nothing; drags from elsewhere are refused.
        SetChain(f, {"1", "2", "3"});
        chain->setCurrentRow(-1);
        chain->ListBox2DragDrop(chain->visualItemRect(chain->item(0)).center());
        QCOMPARE(Entries(f), QStringList({"1", "2", "3"}));
        QVERIFY(chain->ListBox2DragOver(chain));
        QVERIFY(!chain->ListBox2DragOver(w.catalogueList()));
        QVERIFY(!chain->ListBox2DragOver(nullptr));
    }

    void settingsButtonOpensTheFunctionSettingsAtTheLastPage() {
        GuiFixture f;
        FunctionSettingsWindow& settings = *f.windows->form6;
        settings.pages()->setCurrentIndex(FunctionSettingsWindow::FootnotesPage);
        int shownPage = -1;
        QTimer::singleShot(0, &settings, [&] {
            if (QApplication::activeModalWidget() == &settings) shownPage = settings.pages()->currentIndex();
            settings.close();
        });
        ListEditor(f).findChild<QAction*>("ToolButton5")->trigger();
        QCOMPARE(shownPage, int(FunctionSettingsWindow::FootnotesPage));
        QCOMPARE(Entries(f).size(), 13);
    }

    void parametersOpensTheListEditorModally() {
        GuiFixture f;
        f.window().show();
        QToolButton* button = f.window().toolButton("ToolButton36");
        QVERIFY(button->menu());
        QStringList items;
        for (QAction* a : button->menu()->actions()) items << (a->isSeparator() ? "|" : a->text());
        QCOMPARE(items, QStringList({"параметры", "|", "закрыть меню"}));
        bool modal = false;
        QTimer::singleShot(0, &f.window(), [&] {
            modal = QApplication::activeModalWidget() == &ListEditor(f);
            ListEditor(f).findChild<QPushButton*>("Button1")->click();
        });
        f.window().action("N28")->trigger();
        QVERIFY(modal);
        QVERIFY(!ListEditor(f).isVisible());
    }

    void theDefaultChainRunsOverTheEditorText() {
        GuiFixture f;
        f.window().show();
        const std::u16string text = LargeText(2000);
        f.editor().ReplaceText(text);
        // The same chain outside the window, with the window's settings and a generator seeded alike.
        SilentProgress silent;
        SeededRandom sameRandom(42);
        ProcedureContext context{f.window().settings(), silent, sameRandom};
        const std::u16string expected = automatic(text, FixedChain(DefaultProcedureChain()), context);
        QVERIFY(expected != text);
        f.window().action("ToolButton36")->trigger();
        QVERIFY(f.editor().Text() == expected);
        QVERIFY(f.window().action("ToolButton36")->isEnabled());
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QVERIFY(!f.window().progressPanel()->isVisible());
        QVERIFY(f.window().progressPanel()->gauge1()->isHidden());
        QVERIFY(f.ui.errors.isEmpty());
    }

    void anEmptyChainShowsOnlyItsMessage() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"текст");
        f.window().action("ToolButton22")->trigger();  // a snapshot, and undo enabled
        f.editor().ReplaceText(u"другой текст");
        ListEditor(f).findChild<QAction*>("ToolButton3")->trigger();
        bool panelShown = true;
        f.ui.whileMessageShown = [&] { panelShown = f.window().progressPanel()->isVisible(); };
        f.window().action("ToolButton36")->trigger();
        QCOMPARE(f.ui.messages, QStringList({Q(kEmptyChainMessage)}));
        QVERIFY(!panelShown);
        QCOMPARE(f.editor().Text(), std::u16string(u"другой текст"));
        QCOMPARE(f.window().runner().UndoSnapshot(), std::u16string(u"текст"));
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QVERIFY(f.window().action("ToolButton36")->isEnabled());
    }

    void unknownEntriesChangeNothingButTakeTheSnapshot() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"A  b\r\n");
        SetChain(f, {"Удаление лишних пробелов", "удаление лишних пробелов ", "нечто"});
        f.window().action("ToolButton36")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"A  b\r\n"));
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QCOMPARE(f.window().runner().UndoSnapshot(), std::u16string(u"A  b\r\n"));
        QCOMPARE(f.window().progressPanel()->gauge2()->value(), 67);
        QVERIFY(f.ui.messages.isEmpty());
    }

    void aFailingEntryLeavesTheEditorAsItWas() {
        GuiFixture f;
        f.window().show();
        const std::u16string text = u"Первый  абзац.\r\n\r\nВторой  абзац.";
        f.editor().ReplaceText(text);
        f.window().settings().Assign(Setting::ArticleMaxChars, u"много");
        SetChain(f,
                 {"удаление лишних пробелов", "авторазбивка статей (простановка тегов заголовка)", "опустить регистр"});
        f.window().action("ToolButton36")->trigger();
        QCOMPARE(f.editor().Text(), text);
        QCOMPARE(f.ui.errors, QStringList({"''много'' is not a valid integer value."}));
        QVERIFY(!f.window().progressPanel()->isVisible());
        QVERIFY(f.window().action("ToolButton36")->isEnabled());
        QVERIFY(f.window().dropDownMenu("ToolButton36")->isEnabled());
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QCOMPARE(f.window().runner().UndoSnapshot(), text);
    }

    void whileTheChainRunsTheEditorAndTextCommandsAreLocked() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(LargeText(400000));
        SetChain(f, {"удаление лишних пробелов", "опустить регистр"});
        bool checked = false;
        // The procedures run on a worker; the panel shows when the window takes their first reports,
        // while the command still runs. The state is looked at that moment.
        OnShow panelShown(f.window().progressPanel(), [&] {
            if (checked) return;
            checked = true;
            QVERIFY(f.window().runner().Busy());
            QVERIFY(f.window().progressPanel()->stopButton()->isVisible());
            QVERIFY(f.window().progressPanel()->gauge1()->isHidden());
            QVERIFY(!f.window().action("ToolButton36")->isEnabled());
            QVERIFY(!f.window().dropDownMenu("ToolButton36")->isEnabled());
            QVERIFY(!f.window().action("ToolButton22")->isEnabled());
            QVERIFY(f.editor().isReadOnly());
        });
        f.window().action("ToolButton36")->trigger();
        QVERIFY(checked);
        QVERIFY(!f.window().progressPanel()->stopButton()->isVisible());
        QVERIFY(!f.editor().isReadOnly());
    }

    void stopEndsTheChainWithTheTextAsBefore() {
        GuiFixture f;
        f.window().show();
        const std::u16string text = LargeText(4'000'000);
        f.editor().ReplaceText(text);
        const std::u16string before = f.editor().Text();
        // The window paints once before the run (its first paint loads fonts and lays everything out), as
        // it has long done when a user clicks.
        QCoreApplication::processEvents();
        bool pressed = false;
        // "остановить" is pressed as soon as the panel with it shows, early in the run.
        OnShow panelShown(f.window().progressPanel(), [&] {
            QPushButton* stop = f.window().progressPanel()->stopButton();
            if (!pressed && stop->isVisible()) {
                pressed = true;
                QTest::mouseClick(stop, Qt::LeftButton);
            }
        });
        f.window().action("ToolButton36")->trigger();
        QVERIFY(pressed);
        QVERIFY(f.editor().Text() == before);
        QVERIFY(f.ui.errors.isEmpty());
        QVERIFY(f.window().action("ToolButton36")->isEnabled());
        QVERIFY(f.window().action("ToolButton22")->isEnabled());
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QVERIFY(f.window().runner().UndoSnapshot() == before);
        QVERIFY(!f.window().progressPanel()->isVisible());
        QVERIFY(!f.editor().isReadOnly());
        QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("статус"));
        QCOMPARE(f.window().statusPanel(2)->text(), QString());
    }

    // A single command is offered the stop button once it has run about half a second, on the panel
    // without gauges; Escape stops it too.
    void aLongSingleCommandCanBeStoppedWithEscape() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        f.editor().ReplaceText(u"keep me");
        bool shownEarly = false, shownLate = false, gaugesHidden = false;
        QElapsedTimer clock;
        clock.start();
        f.window().runner().WholeTextCommand(
            f.window().action("ToolButton22"),
            [&](const std::u16string&, ProcedureContext& context) -> std::u16string {
                ProgressPanel& panel = *f.window().progressPanel();
                while (clock.elapsed() < 5000) {
                    context.progress.PumpEvents();
                    if (clock.elapsed() < 400 && panel.stopButton()->isVisible()) shownEarly = true;
                    if (!shownLate && panel.stopButton()->isVisible()) {
                        shownLate = true;
                        gaugesHidden = panel.gauge1()->isHidden() && panel.gauge2()->isHidden();
                        QTest::keyClick(f.editor().viewport(), Qt::Key_Escape);
                    }
                }
                return u"lost";
            },
            false);
        QVERIFY(!shownEarly);
        QVERIFY(shownLate);
        QVERIFY(gaugesHidden);
        QVERIFY(clock.elapsed() < 3000);
        QCOMPARE(f.editor().Text(), std::u16string(u"keep me"));
        QVERIFY(f.ui.errors.isEmpty());
        QVERIFY(!f.window().progressPanel()->isVisible());
        QVERIFY(!f.window().progressPanel()->gauge2()->isHidden());
        QVERIFY(f.window().action("ToolButton22")->isEnabled());
    }
};

QTEST_MAIN(AutomaticProcessingTest)
#include "automatic_processing_test.moc"
