// Text commands through the real main window: the paragraph command in both modes and the article
// split's failure paths.
#include <QLabel>
#include <QTest>

#include "app/editor.h"
#include "app/main_window.h"
#include "app/support/gui_fixture.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;

class TextCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void paragraphsOnTheWholeTextKeepUndo() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"один\r\n\r\n<p>два</p>\r\nтри");
        f.window().action("ToolButton18")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"<p>один</p>\r\n\r\n<p>два</p>\r\n<p>три</p>\r\n"));
        QVERIFY(f.window().action("ToolButton50")->isEnabled());
        QVERIFY(f.window().action("ToolButton18")->isEnabled());
        QCOMPARE(f.window().statusPanel(2)->text(), QString());
        f.window().action("ToolButton50")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"один\r\n\r\n<p>два</p>\r\nтри"));
    }

    void paragraphsOnASelectionEndWithABreakAndDisableUndo() {
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(u"x abc y");
        f.editor().SetSelectionStart(2);
        f.editor().SetSelectionLength(3);
        f.window().action("ToolButton18")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"x <p>abc</p>\r\n y"));
        // The snapshot was taken, but the edit through the selection disabled undo again.
        QCOMPARE(f.window().runner().UndoSnapshot(), std::u16string(u"x abc y"));
        QVERIFY(!f.window().action("ToolButton50")->isEnabled());
        // A selection that already ends with a break keeps just one.
        f.editor().ReplaceText(u"a\r\nb\r\nc");
        f.editor().SetSelectionStart(0);
        f.editor().SetSelectionLength(6);
        f.window().action("ToolButton18")->trigger();
        QCOMPARE(f.editor().Text(), std::u16string(u"<p>a</p>\r\n<p>b</p>\r\nc"));
    }

    void aSplitThatCannotRunLeavesTheTextAndTellsWhy() {
        struct Case {
            Setting setting;
            std::u16string value;
            QString message;
        } cases[] = {
            {Setting::ArticleMinChars, u"14оо", QStringLiteral("''14оо'' is not a valid integer value.")},
            {Setting::HeadingLength, u"", QStringLiteral("'''' is not a valid integer value.")},
            {Setting::ArticleMinChars, u"0", QStringLiteral("ArticleMinChars")},
            {Setting::ArticleMaxChars, u"10", QStringLiteral("ArticleMaxChars")},
            {Setting::HeadingLength, u"-1", QStringLiteral("HeadingLength")},
        };
        for (const Case& c : cases) {
            GuiFixture f;
            f.window().show();
            const std::u16string value = c.value;
            f.window().settings().Bind(
                c.setting, [value] { return value; }, nullptr);
            f.editor().ReplaceText(u"text that stays\r\nas it was");
            f.window().action("ToolButton35")->trigger();
            QCOMPARE(f.ui.errors.size(), 1);
            QVERIFY2(f.ui.errors[0].contains(c.message), qPrintable(f.ui.errors[0]));
            QCOMPARE(f.editor().Text(), std::u16string(u"text that stays\r\nas it was"));
            QVERIFY(f.window().action("ToolButton50")->isEnabled());
            QVERIFY(f.window().action("ToolButton35")->isEnabled());
            QCOMPARE(f.window().progressPanel()->caption()->text(), QStringLiteral("разбивка на статьи"));
        }
    }
};

QTEST_MAIN(TextCommandsTest)
#include "text_commands_test.moc"
