// The text-correction commands through their buttons, and the function settings read by the
// procedures at the moment they start.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/editor.h"
#include "app/main_window.h"
#include "automatic/procedure_registry.h"
#include "settings/function_settings_window.h"
#include "settings/tag_hotkey_window.h"
#include "support/gui_fixture.h"
#include "support/recording_progress.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;
using vernalith::testing::Q;

namespace {

// Types into a settings field as the user would: select all, then the new text.
void TypeInto(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c == u'\n') {
            QTest::keyClick(field, Qt::Key_Return);
        } else {
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

}  // namespace

class CorrectionCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void eachButtonRunsItsProcedureThroughTheWrapper() {
        struct Case {
            const char* button;
            const char* procedure;
            const char16_t* caption;
            std::u16string input, expected;
        } cases[] = {
            {"ToolButton26", "RemoveExtraLineBreaks", u"удаление переходов на новую строку",
             u"Это первая\r\nстрока текста.\r\nВторая", u"Это первая строка текста.\r\nВторая"},
            {"ToolButton27", "RemoveHyphenation", u"удаление переносов", u"a-\r\nb-\r\nc", u"abc"},
            {"ToolButton29", "RemoveRepeatedPunctuation", u"удаление повторяющейся пунктуации",
             u"Что?? Да!! Нет... , ,", u"Что? Да! Нет. , ,"},
            {"ToolButton31", "LowerCaseAll", u"опускание регистра", u"Москва. ЁЛКА", u"москва. ёлка"},
            {"ToolButton32", "CapitalizeSentences", u"правка регистра",
             u"это первое. это второе! а это? нет\r\nновая строка",
             u"Это первое. Это второе! А это? Нет\r\nНовая строка"},
            {"ToolButton28", "RemoveListedCharacters", u"удаление символов", u"xMemo1y", u"xy"},
            {"ToolButton30", "ReplaceListedCharacters", u"замена символов", u"кот и кот", u"кот и кот"},
        };
        for (const Case& c : cases) {
            GuiFixture f;
            f.window().show();
            f.editor().ReplaceText(c.input);
            f.window().action(c.button)->trigger();
            QCOMPARE(f.editor().Text(), c.expected);
            QVERIFY(f.window().action("ToolButton50")->isEnabled());
            QVERIFY(f.window().action(c.button)->isEnabled());
            QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("статус"));
            // The caption the procedure shows while it runs.
            testing::RecordingProgress recording;
            ProcedureContext context{f.window().settings(), recording, f.random};
            FindProcedure(c.procedure)->run(c.input, context);
            QVERIFY2(std::find(recording.calls.begin(), recording.calls.end(), "caption " + EncodeUtf8(c.caption)) !=
                         recording.calls.end(),
                     c.button);
            f.window().action("ToolButton50")->trigger();
            QCOMPARE(f.editor().Text(), c.input);
        }
    }

    void anEditedFieldIsUsedByTheNextCommandAtOnce() {
        GuiFixture f;
        f.window().show();
        auto* removeList = f.windows->form6->findChild<QPlainTextEdit*>("RemoveList");
        auto* replaceList = f.windows->form6->findChild<QPlainTextEdit*>("ReplaceList");
        auto* separator = f.windows->form6->findChild<QLineEdit*>("ReplaceSeparator");
        QVERIFY(removeList && replaceList && separator);

        TypeInto(removeList, QStringLiteral("и\nМ"));
        f.editor().ReplaceText(u"Привет, мир!");
        f.window().action("ToolButton28")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"Првет, р!"));

        TypeInto(replaceList, QStringLiteral("ё=>е"));
        TypeInto(separator, QStringLiteral("=>"));
        f.editor().ReplaceText(u"ёлка");
        f.window().action("ToolButton30")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"елка"));

        // The default replacement list "Memo2" has no separator: it is passed over, nothing loops.
        TypeInto(replaceList, QStringLiteral("Memo2"));
        TypeInto(separator, QStringLiteral(","));
        f.editor().ReplaceText(u"текст");
        f.window().action("ToolButton30")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"текст"));
    }

    void aHotKeyWrapsInThePairTypedIntoTheTagWindow() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        TypeInto(f.windows->form3->findChild<QLineEdit*>("Edit1"), QStringLiteral("<em>"));
        TypeInto(f.windows->form3->findChild<QLineEdit*>("Edit5"), QStringLiteral("</em>"));
        f.editor().ReplaceText(u"одно слово");
        f.editor().setFocus();
        f.editor().SetSelectionStart(5);
        f.editor().SetSelectionLength(5);
        QTest::keyClick(&f.window(), Qt::Key_F5);
        QCOMPARE(f.editor().Text(), std::u16string(u"одно <em>слово</em>"));
        QCOMPARE(f.editor().SelectionStart(), size_t{14});  // the caret before the closing tag
    }
};

QTEST_MAIN(CorrectionCommandsTest)
#include "correction_commands_test.moc"
