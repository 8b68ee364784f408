// The function settings and tag pairs as typed into their windows, read by the commands at the moment
// they start.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/editor.h"
#include "app/main_window.h"
#include "app/settings/function_settings_window.h"
#include "app/settings/tag_hotkey_window.h"
#include "app/support/gui_fixture.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;
using vernalith::testing::TypeInto;
using vernalith::testing::Q;

class CorrectionCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

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
