// A command whose procedure runs on a worker thread: the window's thread keeps handling events while it
// works, shows its percentages as they come, and a stop leaves the editor text exactly as it was.
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "app/editor.h"
#include "app/main_window.h"
#include "app/progress_panel.h"
#include "app/support/gui_fixture.h"
#include "core/procedure_error.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;

namespace {

using Thread = CommandRunner::Thread;

// Works for about `duration`, reporting its share done and letting a stop through as it goes.
std::u16string SlowUpperCase(const std::u16string& text, ProcedureContext& context,
                             std::chrono::milliseconds duration) {
    const auto start = std::chrono::steady_clock::now();
    context.progress.SetStatusCaption(u"медленная процедура");
    for (int percent = 0; std::chrono::steady_clock::now() - start < duration; percent = (percent + 1) % 100) {
        context.progress.ReportPercent(percent);
        context.progress.PumpEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    context.progress.FinishReport();
    std::u16string result = text;
    for (char16_t& c : result) c = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
    return result;
}

}  // namespace

class ResponsiveCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void theWindowHandlesEventsAndShowsPercentagesWhileTheProcedureWorks() {
        GuiFixture f;
        f.window().show();
        // The first painting in the process loads the fonts, which takes a while in a sanitizer build:
        // done here, it is not counted against the run.
        QVERIFY(QTest::qWaitForWindowExposed(&f.window()));
        f.window().repaint();
        f.editor().ReplaceText(u"some text\r\nto change");
        int ticks = 0;
        QStringList percentages;
        bool lockedDuringRun = true;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
            ++ticks;
            const QString shown = f.window().statusPanel(2)->text();
            if (!shown.isEmpty() && (percentages.isEmpty() || percentages.back() != shown)) percentages << shown;
            lockedDuringRun = lockedDuringRun && f.editor().isReadOnly() && f.window().runner().Busy();
        });
        timer.start(10);
        f.window().runner().WholeTextCommand(
            f.window().action("ToolButton22"),
            [](const std::u16string& text, ProcedureContext& context) {
                return SlowUpperCase(text, context, std::chrono::milliseconds(400));
            },
            false, {.thread = Thread::Worker});
        timer.stop();
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QVERIFY(lockedDuringRun);
        QVERIFY(!percentages.isEmpty());
        for (const QString& shown : percentages) QVERIFY2(shown.startsWith("выполнено - "), qPrintable(shown));
        QCOMPARE(f.editor().Text(), std::u16string(u"SOME TEXT\r\nTO CHANGE"));
        QCOMPARE(f.window().runner().UndoSnapshot(), std::u16string(u"some text\r\nto change"));
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QVERIFY(f.window().action("ToolButton22")->isEnabled());
        QVERIFY(!f.editor().isReadOnly());
        QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("статус"));
    }

    void aTableCommandOnALargeTextLeavesTheWindowAnswering() {
        GuiFixture f;
        f.window().show();
        std::u16string text;
        while (text.size() < 8'000'000) text += u"Это  строка   текста ,  с пробелами .\r\n";
        f.editor().ReplaceText(text);
        // The window has painted before the click, as it has when a user clicks.
        QCoreApplication::processEvents();
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, &timer, [&] { ++ticks; });
        timer.start(1);
        f.window().action("ToolButton22")->trigger();
        timer.stop();
        QVERIFY(ticks > 0);
        QVERIFY(f.editor().Text().starts_with(u"Это строка текста, с пробелами.\r\nЭто строка"));
        f.window().action("ToolButton50")->trigger();
        QVERIFY(f.editor().Text() == text);
    }

    void aStopLeavesTheTextByteForByteAndShowsNoBox() {
        GuiFixture f;
        f.window().show();
        // Line breaks of every kind become CR LF in the editor; U+0000 stays.
        const std::u16string before(u"first\r\nsecond\0third\r\n\r\n", 23);
        f.editor().ReplaceText(before);
        QTimer::singleShot(100, &f.window(), [&] { f.window().progress().RequestStop(); });
        f.window().runner().WholeTextCommand(
            f.window().action("ToolButton22"),
            [](const std::u16string& text, ProcedureContext& context) {
                return SlowUpperCase(text, context, std::chrono::seconds(20));
            },
            false, {.thread = Thread::Worker});
        QVERIFY(f.editor().Text() == before);
        QVERIFY(f.ui.errors.isEmpty());
        QVERIFY(f.window().action("ToolButton22")->isEnabled());
        QVERIFY(!f.window().runner().Busy());
        QVERIFY(!f.editor().isReadOnly());
        // The next command runs normally: the stop is not left standing.
        f.window().action("ToolButton31")->trigger();
        QVERIFY(f.editor().Text() == std::u16string(u"first\r\nsecond\0third\r\n\r\n", 23));
    }

    void aFailureOnTheWorkerIsShownAndKeepsTheText() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"text\r\nkept");
        f.window().runner().WholeTextCommand(
            f.window().action("ToolButton35"),
            [](const std::u16string&, ProcedureContext& context) -> std::u16string {
                context.progress.SetStatusCaption(u"разбивка на статьи");
                throw ProcedureError(u"''abc'' is not a valid integer value.");
            },
            false, {.thread = Thread::Worker});
        QCOMPARE(f.ui.errors, QStringList({"''abc'' is not a valid integer value."}));
        QCOMPARE(f.editor().Text(), std::u16string(u"text\r\nkept"));
        QCOMPARE(f.window().runner().UndoSnapshot(), std::u16string(u"text\r\nkept"));
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QVERIFY(f.window().action("ToolButton35")->isEnabled());
        QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("разбивка на статьи"));
    }

    // As in the program: closing the last window makes the application quit, which ends every event
    // loop at once, the command's own included. The procedure is stopped there and then, rather than
    // left to run to its end while the window's thread waits for it; the text stays as it was.
    void closingTheWindowDuringARunStopsTheProcedureAtOnce() {
        GuiFixture f;
        f.window().show();
        const std::u16string before = u"text\r\nkept";
        f.editor().ReplaceText(before);
        QElapsedTimer sinceStart;
        qint64 ranFor = -1;
        QTimer::singleShot(0, &f.window(), [&] {
            sinceStart.start();
            f.window().runner().WholeTextCommand(f.window().action("ToolButton22"),
                                                 [](const std::u16string& text, ProcedureContext& context) {
                                                     return SlowUpperCase(text, context, std::chrono::seconds(20));
                                                 },
                                                 false, {.thread = Thread::Worker});
            ranFor = sinceStart.elapsed();
        });
        QTimer::singleShot(150, &f.window(), [&] { f.window().close(); });
        QApplication::exec();
        QVERIFY2(ranFor >= 0 && ranFor < 5000, qPrintable(QString::number(ranFor)));
        QVERIFY(f.editor().Text() == before);
        QVERIFY(f.ui.errors.isEmpty());
        QVERIFY(!f.window().runner().Busy());
        QVERIFY(!f.editor().isReadOnly());
    }

    // A stop that comes when the procedure has already done its work (here from the worker itself,
    // after its last progress point) changes nothing: the result is taken, and the stop is not left
    // standing to cut the next command short.
    void aStopAfterTheProcedureIsDoneKeepsItsResult() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"some text");
        WindowProgress& windowProgress = f.window().progress();
        f.window().runner().WholeTextCommand(f.window().action("ToolButton22"),
                                             [&](const std::u16string& text, ProcedureContext& context) {
                                                 std::u16string result =
                                                     SlowUpperCase(text, context, std::chrono::milliseconds(50));
                                                 windowProgress.RequestStop();
                                                 return result;
                                             },
                                             false, {.thread = Thread::Worker});
        QCOMPARE(f.editor().Text(), std::u16string(u"SOME TEXT"));
        QVERIFY(f.ui.errors.isEmpty());
        f.window().runner().WholeTextCommand(f.window().action("ToolButton22"),
                                             [](const std::u16string& text, ProcedureContext& context) {
                                                 return SlowUpperCase(text, context, std::chrono::milliseconds(100)) +
                                                        u"!";
                                             },
                                             false, {.thread = Thread::Worker});
        QCOMPARE(f.editor().Text(), std::u16string(u"SOME TEXT!"));
    }
};

QTEST_MAIN(ResponsiveCommandTest)
#include "responsive_command_test.moc"
