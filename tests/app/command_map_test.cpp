// The command map walked as a table: every control resolves to something the window runs, and every
// whole-text control runs its procedure through the command wrapper.
#include "app/command_map.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <map>

#include "app/editor.h"
#include "app/main_window.h"
#include "app/support/gui_fixture.h"
#include "automatic/procedure_runners.h"
#include "core/editor_text.h"
#include "support/recording_progress.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;

namespace {

// A text for each whole-text control, what the command leaves in the editor with the default settings
// (its procedure's result read back through the editor's line breaks), and the
// caption its procedure shows while it runs (empty for the line procedures, which show none).
struct Sample {
    std::u16string input, expected;
    std::u16string_view caption;
};

const std::map<std::string_view, Sample>& Samples() {
    static const std::map<std::string_view, Sample> samples = {
        {"ToolButton22", {u"  Это  текст ,  в нём пробелы .", u"Это текст, в нём пробелы.", u"удаление пробелов"}},
        {"ToolButton33", {u"a\r\n\r\n  \r\nb", u"a\r\nb\r\n", u"удаление пустых строк"}},
        {"ToolButton26",
         {u"Это первая\r\nстрока текста.\r\nВторая", u"Это первая строка текста.\r\nВторая",
          u"удаление переходов на новую строку"}},
        {"ToolButton27", {u"a-\r\nb-\r\nc", u"abc", u"удаление переносов"}},
        {"ToolButton29", {u"Что?? Да!! Нет... , ,", u"Что? Да! Нет. , ,", u"удаление повторяющейся пунктуации"}},
        {"ToolButton31", {u"Москва. ЁЛКА", u"москва. ёлка", u"опускание регистра"}},
        {"ToolButton32",
         {u"это первое. это второе! а это? нет\r\nновая строка", u"Это первое. Это второе! А это? Нет\r\nНовая строка",
          u"правка регистра"}},
        {"ToolButton28", {u"xMemo1y", u"xy", u"удаление символов"}},
        {"ToolButton30", {u"кот и кот", u"кот и кот", u"замена символов"}},
        {"ToolButton57", {u"b\r\na\r\nb\r\nB", u"b\r\na\r\nB\r\n", u""}},
        {"ToolButton62", {u"a\r\nb", u"a.\r\nb.\r\n", u""}},
        {"ToolButton63", {u"Рис (см. рис. 5) тут", u"Рис  тут", u"удаление сносок"}},
        {"ToolButton48", {u"a<b>c</b>d", u"acd", u"удаление html разметки"}},
        {"ToolButton60", {u"в\r\n\r\nБ\r\nа", u"\r\nа\r\nБ\r\nв\r\n", u""}},
        // Shorter than one article: one heading made of its first words.
        {"ToolButton35", {u"короткий текст", u"<h1>короткий текст</h1>\r\nкороткий текст", u"разбивка на статьи"}},
    };
    return samples;
}

}  // namespace

class CommandMapTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void everyControlResolvesOrIsMarkedNotBuiltYet() {
        GuiFixture f;
        QStringList notBuilt;
        for (const CommandSpec& command : CommandMap()) {
            const QString control = QString::fromLatin1(command.control.data(), command.control.size());
            QAction* action = f.window().action(command.control);
            QVERIFY2(action, qPrintable(control));
            if (command.notBuiltYet) {
                notBuilt << control;
                QVERIFY2(!action->isEnabled(), qPrintable(control));
                continue;
            }
            const bool resolves = command.procedure.has_value() || !command.togglesToolBar.empty() ||
                                  f.window().HasHandler(command.handler);
            QVERIFY2(resolves, qPrintable(control + " runs nothing"));
            QVERIFY2(!command.procedure || command.kind == Kind::WholeText || command.kind == Kind::WholeTextPumpFirst,
                     qPrintable(control));
        }
        // Every control's feature is built.
        QCOMPARE(notBuilt, QStringList());
    }

    void everyWholeTextControlRunsItsProcedureThroughTheWrapper() {
        for (const CommandSpec& command : CommandMap()) {
            if (!command.procedure) continue;
            const QString control = QString::fromLatin1(command.control.data(), command.control.size());
            const auto sample = Samples().find(command.control);
            QVERIFY2(sample != Samples().end(), qPrintable(control + " has no sample"));
            const Sample& s = sample->second;

            GuiFixture f;
            f.window().show();
            // The procedure's own run on the same text shows which caption it puts up.
            testing::RecordingProgress recording;
            SeededRandom random(1);
            ProcedureContext context{f.window().settings(), recording, random};
            QCOMPARE(ToEditorText(RunProcedure(*command.procedure, s.input, context)), s.expected);
            const bool captionShown = std::find(recording.calls.begin(), recording.calls.end(),
                                                "caption " + EncodeUtf8(s.caption)) != recording.calls.end();
            QVERIFY2(s.caption.empty() || captionShown, qPrintable(control));

            f.editor().ReplaceText(s.input);
            f.window().action(command.control)->trigger();
            QCOMPARE(f.editor().Text(), s.expected);
            QVERIFY2(f.window().action("ToolButton50")->isEnabled(), qPrintable(control));
            QVERIFY2(f.window().action(command.control)->isEnabled(), qPrintable(control));
            QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("статус"));
            f.window().action("ToolButton50")->trigger();
            QCOMPARE(f.editor().Text(), s.input);
        }
    }
};

QTEST_MAIN(CommandMapTest)
#include "command_map_test.moc"
