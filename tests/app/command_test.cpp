// The processing protocol through the real main window: the command wrapper, one-level undo, the
// progress display, the failure path and the guard against commands overlapping.
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QToolBar>

#include "app/editor.h"
#include "app/main_window.h"
#include "app/support/gui_fixture.h"
#include "core/procedure_error.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;

namespace {

QString Percent(MainWindow& w) { return w.statusPanel(2)->text(); }

}  // namespace

class CommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void removeExtraSpacesThroughItsButton() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"   Это  текст ,  в котором  много пробелов .");
        f.window().action("ToolButton22")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"Это текст, в котором много пробелов."));
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QVERIFY(f.window().action("ToolButton22")->isEnabled());
        QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("статус"));
        QCOMPARE(Percent(f.window()), QString());
        f.window().action("ToolButton50")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"   Это  текст ,  в котором  много пробелов ."));
        QVERIFY(!f.window().action("ToolButton50")->isEnabled());
    }

    void removeEmptyLinesThroughItsButton() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"a\r\n\r\n  \r\nb");
        f.window().action("ToolButton33")->trigger();
        // The result ends with a break, so the editor shows an empty last line.
        QCOMPARE(f.editor().Text(), std::u16string(u"a\r\nb\r\n"));
        QCOMPARE(f.editor().LineCount(), size_t{3});
    }

    void undoRestoresExactlyTheTextFromBefore() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        const std::u16string original(u"a\r\nb\0c", 6);  // no final break, a U+0000 inside
        f.editor().ReplaceText(original);
        f.window().action("ToolButton33")->trigger();
        QCOMPARE(f.window().runner().UndoSnapshot(), original);
        QTest::keyClick(&f.window(), Qt::Key_F4);
        QCOMPARE(f.editor().Text(), original);
        QVERIFY(!f.window().action("ToolButton50")->isEnabled());
        // A second F4 does nothing.
        f.editor().ReplaceText(u"other");
        QTest::keyClick(&f.window(), Qt::Key_F4);
        QCOMPARE(f.editor().Text(), std::u16string(u"other"));
    }

    void undoStates() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        // A command on an empty editor stores an empty snapshot; undo leaves the editor empty.
        f.window().action("ToolButton22")->trigger();
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        f.window().action("ToolButton50")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string());
        // Typing after a command disables undo; F4 then changes nothing.
        f.editor().ReplaceText(u"x  y");
        f.window().action("ToolButton22")->trigger();
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        f.editor().setFocus();
        QTest::keyClick(&f.editor(), Qt::Key_End);
        QTest::keyClicks(&f.editor(), "z");
        QCOMPARE(f.editor().Text(), std::u16string(u"x yz"));
        QVERIFY(!f.window().action("ToolButton50")->isEnabled());
        QCOMPARE(f.window().statusPanel(0)->text(), QStringLiteral(" всего строк: 1"));
        QCOMPARE(f.window().statusPanel(1)->text(), QStringLiteral(" всего символов: 4"));
        QTest::keyClick(&f.window(), Qt::Key_F4);
        QCOMPARE(f.editor().Text(), std::u16string(u"x yz"));
        // Replacing the whole text (as opening a file does) leaves undo enabled.
        f.window().action("ToolButton22")->trigger();
        f.editor().ReplaceText(u"opened file");
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QTest::keyClick(&f.window(), Qt::Key_F4);
        QCOMPARE(f.editor().Text(), std::u16string(u"x yz"));
    }

    void f4WorksWhereverTheFocusIs() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        f.editor().ReplaceText(u"a  b");
        f.window().action("ToolButton22")->trigger();
        f.window().toolBar("ToolBar4")->setFocus();
        QTest::keyClick(&f.window(), Qt::Key_F4);
        QCOMPARE(f.editor().Text(), std::u16string(u"a  b"));
    }

    void aFailingProcedureLeavesTheTextAndShowsItsMessage() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"text\r\nkept");
        QAction* button = f.window().action("ToolButton35");
        f.window().runner().WholeTextCommand(
            button,
            [](const std::u16string&, ProcedureContext& context) -> std::u16string {
                context.progress.SetStatusCaption(u"разбивка на статьи");
                throw ProcedureError(u"''abc'' is not a valid integer value.");
            },
            false);
        QCOMPARE(f.ui.errors, QStringList({"''abc'' is not a valid integer value."}));
        QCOMPARE(f.editor().Text(), std::u16string(u"text\r\nkept"));
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QVERIFY(button->isEnabled());
        QVERIFY(!f.window().runner().Busy());
        QVERIFY(!f.editor().isReadOnly());
        QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("разбивка на статьи"));
        QCOMPARE(f.window().runner().UndoSnapshot(), std::u16string(u"text\r\nkept"));
    }

    void whileAProcedureRunsNothingElseTouchesTheText() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        f.editor().ReplaceText(u"a  b");
        QAction* own = f.window().action("ToolButton22");
        bool checked = false;
        f.window().runner().WholeTextCommand(
            own,
            [&](const std::u16string& text, ProcedureContext&) -> std::u16string {
                [&] {
                    QVERIFY(!own->isEnabled());
                    QVERIFY(f.editor().isReadOnly());
                    QVERIFY(!f.window().action("ToolButton33")->isEnabled());
                    QVERIFY(!f.window().action("ToolButton50")->isEnabled());
                    QVERIFY(!f.window().action("Action6")->isEnabled());
                    QVERIFY(f.window().action("ToolButton15")->isEnabled());  // tool-bar toggles stay usable
                    // A nested attempt to run another text command does nothing.
                    f.window().Trigger("ToolButton33");
                    QTest::keyClick(&f.window(), Qt::Key_F4);
                    QCOMPARE(f.editor().Text(), std::u16string(u"a  b"));
                    checked = true;
                }();
                return text + u"!";
            },
            false);
        QVERIFY(checked);
        QCOMPARE(f.editor().Text(), std::u16string(u"a  b!"));
        QVERIFY(own->isEnabled());
        QVERIFY(f.window().action("ToolButton33")->isEnabled());
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QVERIFY(!f.editor().isReadOnly());
    }

    void progressTextsAndStop() {
        GuiFixture f;
        f.window().show();
        WindowProgress& progress = f.window().progress();
        progress.SetStatusCaption(u"удаление пробелов");
        QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("удаление пробелов"));
        progress.ReportPercent(42);
        QCOMPARE(Percent(f.window()), QStringLiteral("выполнено - 42%"));
        progress.ReportPercentSpaced(7);
        QCOMPARE(Percent(f.window()), QStringLiteral("выполнено 7 %"));
        progress.FinishReport();
        QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("статус"));
        QCOMPARE(Percent(f.window()), QString());
        progress.SetGauge(Gauge::Gauge2, 33);
        QCOMPARE(f.window().progressPanel()->gauge2()->value(), 33);
        progress.ShowProgressPanel();
        QVERIFY(f.window().progressPanel()->isVisible());
        progress.HideProgressPanel();
        QVERIFY(!f.window().progressPanel()->isVisible());

        // A stop request ends the run at its next pump; the editor keeps its text.
        f.editor().ReplaceText(u"keep me");
        f.window().runner().WholeTextCommand(
            f.window().action("ToolButton22"),
            [](const std::u16string&, ProcedureContext& context) -> std::u16string {
                static_cast<WindowProgress&>(context.progress).RequestStop();
                context.progress.PumpEvents();
                return u"lost";
            },
            false);
        QCOMPARE(f.editor().Text(), std::u16string(u"keep me"));
        QVERIFY(f.ui.errors.isEmpty());
        QVERIFY(f.window().action("ToolButton22")->isEnabled());
    }

    void pumpFirstLetsEventsThroughBeforeReading() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"before");
        bool delivered = false;
        QMetaObject::invokeMethod(
            &f.window(), [&] { delivered = true; }, Qt::QueuedConnection);
        f.window().runner().WholeTextCommand(
            f.window().action("ToolButton57"),
            [&](const std::u16string& text, ProcedureContext&) {
                [&] { QVERIFY(delivered); }();
                return text;
            },
            true);
        QVERIFY(delivered);
    }
};

QTEST_MAIN(CommandTest)
#include "command_test.moc"
