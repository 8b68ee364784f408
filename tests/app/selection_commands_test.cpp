// The selection commands through the real main window: heading insertion by F9 and its button, the
// headings menu and its marks, tag wrapping by F5 to F8, and the editor focus they need.
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/editor.h"
#include "app/main_window.h"
#include "app/support/gui_fixture.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;
using vernalith::testing::Q;
using vernalith::testing::U;

namespace {

// An editor text with the selection written in it: "[" and "]" around the selected text, or "|" at
// the caret when nothing is selected. Offsets are UTF-16 code units, as the editor counts them.
struct MarkedText {
    std::u16string text;
    size_t start = 0;
    size_t length = 0;
};

MarkedText Parse(QString marked) {
    const qsizetype open = marked.indexOf('[');
    if (open >= 0) {
        const qsizetype close = marked.indexOf(']');
        marked.remove(close, 1);
        marked.remove(open, 1);
        return {U(marked), static_cast<size_t>(open), static_cast<size_t>(close - open - 1)};
    }
    const qsizetype caret = marked.indexOf('|');
    marked.remove(caret, 1);
    return {U(marked), static_cast<size_t>(caret), 0};
}

// Puts the text into the editor, focuses it and selects as marked.
void Prepare(GuiFixture& f, const MarkedText& marked) {
    f.editor().ReplaceText(marked.text);
    f.editor().setFocus();
    f.editor().SetSelectionStart(marked.start);
    f.editor().SetSelectionLength(marked.length);
}

// Clicks a tool button on its face (left of the drop-down arrow of a split button), as the mouse does.
void ClickButtonFace(QToolButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

const char* const kLevelItems[] = {"H1", "H21", "H31", "H41", "H51"};

QStringList MarkedItems(MainWindow& w) {
    QStringList marked;
    for (const char* item : {"H1", "H21", "H31", "H41", "H51", "N33"}) {
        if (w.IsMarked(item)) marked << item;
        // An unmarked item shows no image at all.
        else if (w.ImageIndex(item) != -1)
            marked << QStringLiteral("%1 has image %2").arg(item).arg(w.ImageIndex(item));
    }
    return marked;
}

}  // namespace

class SelectionCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void headingInsertion_data() {
        QTest::addColumn<QString>("levelItem");  // the item chosen in the headings menu, "" for none
        QTest::addColumn<bool>("duplicate");
        QTest::addColumn<bool>("byButton");  // a click on ToolButton46 instead of F9
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");  // "|" marks the caret

        QTest::addRow("selection without its line break") << "H21" << false << false << "[Введение]\r\nТекст статьи."
                                                          << "|<h2>Введение</h2>\r\n\r\nТекст статьи.";
        QTest::addRow("selection with its line break") << "H21" << false << true << "[Введение\r\n]Текст статьи."
                                                       << "|<h2>Введение</h2>\r\nТекст статьи.";
        QTest::addRow("duplicated") << "H21" << true << false << "[Введение]\r\nТекст статьи."
                                    << "|<h2>Введение</h2>\r\nВведение\r\nТекст статьи.";
        QTest::addRow("numbered line") << "H21" << false << false << "[1. введение]"
                                       << "|<h2>Введение</h2>\r\n";
        QTest::addRow("numbered line duplicated") << "H21" << true << true << "[1. введение]"
                                                  << "|<h2>Введение</h2>\r\n1. введение";
        QTest::addRow("prefix moves to the next line")
            << "H21" << false << false << "Текст\r\nГлава 1. [введение в тему]\r\nдалее"
            << "Текст\r\n|<h2>Введение в тему</h2>\r\nГлава 1. \r\nдалее";
        QTest::addRow("prefix then the duplicate") << "H21" << true << false << "x [y] z"
                                                   << "|<h2>Y</h2>\r\nx y z";
        QTest::addRow("prefix after a surrogate pair") << "H21" << false << true << "a\r\n😀 [кот]"
                                                       << "a\r\n|<h2>Кот</h2>\r\n😀 ";
        QTest::addRow("only the first letter raised") << "H21" << false << false << "[раз\r\nдва]"
                                                      << "|<h2>Раз\r\nдва</h2>\r\n";
        QTest::addRow("guillemets kept") << "H21" << false << false << "[  «цитата»  ]"
                                         << "|<h2>«цитата»</h2>\r\n";
        QTest::addRow("small yo trimmed at the end") << "H21" << false << false << "[всё]"
                                                     << "|<h2>Вс</h2>\r\n";
        QTest::addRow("small yo trimmed at the start") << "H21" << false << false << "[ёлка]"
                                                       << "|<h2>Лка</h2>\r\n";
        QTest::addRow("digits trimmed") << "H21" << false << false << "[12345abc]"
                                        << "|<h2>Abc</h2>\r\n";
        QTest::addRow("no letter at all") << "H21" << false << false << "[...]"
                                          << "|<h2></h2>\r\n";
        QTest::addRow("nothing selected at the end") << "H21" << false << false << "abc|"
                                                     << "abc\r\n<h2>|</h2>";
        QTest::addRow("nothing selected mid-line") << "H21" << false << true << "ab|c"
                                                   << "ab\r\n<h2>|</h2>c";
        QTest::addRow("level 5") << "H51" << false << false << "[кот]"
                                 << "|<h5>Кот</h5>\r\n";
        QTest::addRow("no level, nothing selected") << "" << false << false << "abc|"
                                                    << "abc\r\n<h|></h>";
        QTest::addRow("no level, selection") << "" << false << true << "[кот]"
                                             << "|<h>Кот</h>\r\n";
    }

    void headingInsertion() {
        QFETCH(QString, levelItem);
        QFETCH(bool, duplicate);
        QFETCH(bool, byButton);
        QFETCH(QString, before);
        QFETCH(QString, after);
        GuiFixture f;
        QVERIFY(f.ShowActive());
        f.window().Trigger("ToolButton15");  // shows the HTML tool bar
        if (!levelItem.isEmpty()) f.window().action(levelItem.toStdString())->trigger();
        if (duplicate) f.window().action("N33")->trigger();
        const MarkedText start = Parse(before);
        Prepare(f, start);
        QVERIFY(f.editor().HasInputFocus());

        if (byButton) {
            ClickButtonFace(f.window().toolButton("ToolButton46"));
        } else {
            QTest::keyClick(&f.editor(), Qt::Key_F9);
        }

        const MarkedText expected = Parse(after);
        QCOMPARE(Q(f.editor().Text()), Q(expected.text));
        QCOMPARE(f.editor().SelectionStart(), expected.start);
        QCOMPARE(f.editor().SelectionLength(), size_t{0});
        QVERIFY(f.editor().HasInputFocus());
        // The snapshot was taken, then the command's own edit disabled undo again.
        QCOMPARE(Q(f.window().runner().UndoSnapshot()), Q(start.text));
        QVERIFY(!f.window().runner().UndoAvailable());
        QVERIFY(!f.window().action("ToolButton50")->isEnabled());
    }

    void afterAHeadingF4ChangesNothingButTheEditorUndoesItInOneStep() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        f.window().action("H21")->trigger();
        Prepare(f, Parse("Глава 1. [введение]\r\nтекст"));
        QTest::keyClick(&f.editor(), Qt::Key_F9);
        const std::u16string headed = u"<h2>Введение</h2>\r\nГлава 1. \r\nтекст";
        QCOMPARE(Q(f.editor().Text()), Q(headed));
        QTest::keyClick(&f.window(), Qt::Key_F4);
        QCOMPARE(Q(f.editor().Text()), Q(headed));
        // The editor's own typing history holds the insertion as one step.
        f.editor().undo();
        QCOMPARE(Q(f.editor().Text()), QStringLiteral("Глава 1. введение\r\nтекст"));
    }

    void levelMenuMarks() {
        GuiFixture f;
        MainWindow& w = f.window();
        QCOMPARE(MarkedItems(w), QStringList());  // nothing marked at first
        QCOMPARE(Q(w.settings().Value(Setting::HeadingLevel)), QStringLiteral("0"));
        QCOMPARE(Q(w.settings().Value(Setting::DuplicateHeading)), QStringLiteral("0"));
        for (int i = 0; i < 5; ++i) {
            w.action(kLevelItems[i])->trigger();
            QCOMPARE(MarkedItems(w), QStringList({kLevelItems[i]}));
            QCOMPARE(Q(w.settings().Value(Setting::HeadingLevel)), QString::number(i + 1));
        }
        w.action("H31")->trigger();
        w.action("H31")->trigger();  // choosing the marked level again keeps it
        QCOMPARE(MarkedItems(w), QStringList({"H31"}));
        w.action("N33")->trigger();
        QCOMPARE(MarkedItems(w), QStringList({"H31", "N33"}));
        QCOMPARE(Q(w.settings().Value(Setting::DuplicateHeading)), QStringLiteral("1"));
        w.action("N33")->trigger();
        QCOMPARE(MarkedItems(w), QStringList({"H31"}));

        // Restoring saved settings puts the marks back; a value outside 1 to 5 marks no level.
        QVERIFY(w.settings().Assign(Setting::HeadingLevel, u"5"));
        QVERIFY(w.settings().Assign(Setting::DuplicateHeading, u"1"));
        QCOMPARE(MarkedItems(w), QStringList({"H51", "N33"}));
        for (const char16_t* none : {u"0", u"6", u"-1", u"x", u""}) {
            w.settings().Assign(Setting::HeadingLevel, u"2");
            w.settings().Assign(Setting::HeadingLevel, none);
            QCOMPARE(MarkedItems(w), QStringList({"N33"}));
        }
        w.settings().Assign(Setting::DuplicateHeading, u"0");
        QCOMPARE(MarkedItems(w), QStringList());
        // With several levels marked the last of h1 to h5 counts.
        w.SetMarked("H21", true);
        w.SetMarked("H41", true);
        QCOMPARE(Q(w.settings().Value(Setting::HeadingLevel)), QStringLiteral("4"));
    }

    void theHeadingsButtonAndItsMenuLeaveTheFocusInTheEditor() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        f.window().Trigger("ToolButton15");
        QToolButton* button = f.window().toolButton("ToolButton46");
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        Prepare(f, Parse("[кот]"));
        QTRY_VERIFY(f.editor().HasInputFocus());

        // Choose "h3" the way the user does: the arrow opens the menu, a click picks the item.
        QMenu* menu = f.window().dropDownMenu("ToolButton46");
        bool picked = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, menu, [&] {
            if (!menu->isVisible()) return;
            poll.stop();
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(f.window().action("H31")).center());
            picked = true;
        });
        poll.start();
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 3, button->height() / 2));
        QTRY_VERIFY(picked);
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(f.window().IsMarked("H31"));
        // The editor stays the window's focus widget. (Whether the window itself is active again once
        // the popup has gone is up to the platform, and under load the headless one may lag: make
        // sure it is before the next click.)
        QTRY_VERIFY(f.window().focusWidget() == &f.editor() || f.editor().isAncestorOf(f.window().focusWidget()));
        f.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window()));
        QTRY_VERIFY(f.editor().HasInputFocus());

        ClickButtonFace(button);
        QVERIFY(f.editor().HasInputFocus());
        QCOMPARE(Q(f.editor().Text()), QStringLiteral("<h3>Кот</h3>\r\n"));
    }

    void tagWrapping_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");  // "|" marks the caret

        QTest::addRow("F8 around a word") << int(Qt::Key_F8) << "одно [слово] тут"
                                          << "одно <b>слово|</b> тут";
        QTest::addRow("F5 with nothing selected") << int(Qt::Key_F5) << "abc|"
                                                  << "abc<h2>|</h2>";
        QTest::addRow("F6 across a line break") << int(Qt::Key_F6) << "[a\r\nb]"
                                                << "<h3>a\r\nb|</h3>";
        QTest::addRow("F7 link") << int(Qt::Key_F7) << "см. [ссылка]"
                                 << "см. <a href=\"\">ссылка|</a>";
        QTest::addRow("F5 on the second line") << int(Qt::Key_F5) << "a\r\nb[c]d"
                                               << "a\r\nb<h2>c|</h2>d";
        QTest::addRow("after a surrogate pair") << int(Qt::Key_F8) << "😀[x]"
                                                << "😀<b>x|</b>";
    }

    void tagWrapping() {
        QFETCH(int, key);
        QFETCH(QString, before);
        QFETCH(QString, after);
        GuiFixture f;
        QVERIFY(f.ShowActive());
        Prepare(f, Parse(before));
        QTest::keyClick(&f.editor(), static_cast<Qt::Key>(key));
        const MarkedText expected = Parse(after);
        QCOMPARE(Q(f.editor().Text()), Q(expected.text));
        QCOMPARE(f.editor().SelectionStart(), expected.start);
        QCOMPARE(f.editor().SelectionLength(), size_t{0});
        // No snapshot; the edit disables undo.
        QVERIFY(f.window().runner().UndoSnapshot().empty());
        QVERIFY(!f.window().action("ToolButton50")->isEnabled());
    }

    void tagPairsAreReadAtEachKeyPress() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        // Stands for the fields of the tag hot-key window.
        std::u16string open = u"<i>", close = u"</i>";
        f.window().settings().Bind(Setting::HotkeyTagOpenF8, [&] { return open; }, {});
        f.window().settings().Bind(Setting::HotkeyTagCloseF8, [&] { return close; }, {});
        Prepare(f, Parse("[a] b"));
        QTest::keyClick(&f.editor(), Qt::Key_F8);
        QCOMPARE(Q(f.editor().Text()), QStringLiteral("<i>a</i> b"));

        open = u"<em>";
        close = u"";  // an empty closing tag leaves the caret after the inserted text
        f.editor().SetSelectionStart(9);
        f.editor().SetSelectionLength(1);
        QTest::keyClick(&f.editor(), Qt::Key_F8);
        QCOMPARE(Q(f.editor().Text()), QStringLiteral("<i>a</i> <em>b"));
        QCOMPARE(f.editor().SelectionStart(), size_t{14});

        // A closing tag starting with a line break: the caret stands before the break.
        close = u"\n</p>";
        open = u"<p>";
        f.editor().SetSelectionStart(0);
        QTest::keyClick(&f.editor(), Qt::Key_F8);
        QCOMPARE(Q(f.editor().Text()), QStringLiteral("<p>\r\n</p><i>a</i> <em>b"));
        QCOMPARE(f.editor().SelectionStart(), size_t{3});
    }

    void hotKeysF5ToF9NeedTheEditorFocus() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        f.window().Trigger("ToolButton15");
        f.window().action("H21")->trigger();
        const std::u16string text = u"a [b] c";
        auto* tabs = f.window().findChild<QTabWidget*>("PageControl1");
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9}) {
            Prepare(f, Parse(Q(text)));
            tabs->tabBar()->setFocus();
            QTRY_VERIFY(!f.editor().HasInputFocus());
            QTest::keyClick(&f.window(), key);
            QCOMPARE(Q(f.editor().Text()), QStringLiteral("a b c"));
            QVERIFY(f.window().runner().UndoSnapshot().empty());
            QVERIFY(!f.window().runner().UndoAvailable());
        }
        // The headings button does nothing either, whether clicked or triggered by its name.
        ClickButtonFace(f.window().toolButton("ToolButton46"));
        f.window().Trigger("ToolButton46");
        QCOMPARE(Q(f.editor().Text()), QStringLiteral("a b c"));
        QVERIFY(!f.window().runner().UndoAvailable());
        QVERIFY(f.window().runner().UndoSnapshot().empty());

        // With the focus back in the editor the same keys work.
        f.editor().setFocus();
        QTest::keyClick(&f.window(), Qt::Key_F8);
        QCOMPARE(Q(f.editor().Text()), QStringLiteral("a <b>b</b> c"));
    }
};

QTEST_MAIN(SelectionCommandsTest)
#include "selection_commands_test.moc"
