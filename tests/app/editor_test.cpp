// The editor's text model: whole text read and replaced, positions as UTF-16 offsets with every line
// break counting two, the selection operations and the change notification.
#include "app/editor.h"

#include <Qsci/qscilexerhtml.h>

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <random>

#include "core/editor_text.h"
#include "core/encoding.h"
#include "support/random_text.h"
#include "support/recording_progress.h"

using namespace vernalith;
using vernalith::testing::T;

class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void replacedTextReadsBackWithCrLfBreaks() {
        struct Case {
            const char* input;
            const char* read;
            size_t lines;
        } cases[] = {
            {"", "", 0},
            {"a", "a", 1},
            {"a{CR}{LF}b", "a{CR}{LF}b", 2},
            {"x{CR}y{LF}z", "x{CR}{LF}y{CR}{LF}z", 3},
            {"a{CR}{LF}", "a{CR}{LF}", 2},
            {"a\u2028b\u2028{CR}{LF}c", "a{CR}{LF}b{CR}{LF}c", 3},
            {"Это ё — \U0001F600", "Это ё — \U0001F600", 1},
        };
        Editor editor;
        QSignalSpy changed(&editor, &Editor::Changed);
        for (const auto& c : cases) {
            editor.ReplaceText(T(c.input));
            QCOMPARE(editor.Text(), T(c.read));
            QCOMPARE(editor.LineCount(), c.lines);
            QCOMPARE(editor.TextLength(), T(c.read).size());
            QCOMPARE(editor.SelectionStart(), size_t{0});  // the caret goes to the start
        }
        QCOMPARE(changed.count(), 0);  // replacing the whole text raises no change notification
        QVERIFY(!editor.isUndoAvailable());
    }

    void keepsU0000AndWhatFollows() {
        Editor editor;
        const std::u16string text(u"a\0b\r\nc\0", 7);
        editor.ReplaceText(text);
        QCOMPARE(editor.Text(), text);
        QCOMPARE(editor.TextLength(), size_t{7});
    }

    void positionsCountUtf16UnitsAndTwoPerBreak() {
        Editor editor;
        editor.ReplaceText(u"ab\r\nЭто\r\n\U0001F600x");
        // "ab" CR LF "Это" CR LF U+1F600 (two units) "x": offsets 0..11.
        editor.SetSelectionStart(4);
        editor.SetSelectionLength(3);
        QCOMPARE(editor.SelectionStart(), size_t{4});
        QCOMPARE(editor.SelectionLength(), size_t{3});
        QCOMPARE(editor.SelectedText(), std::u16string(u"Это"));
        editor.SetSelectionStart(1);
        editor.SetSelectionLength(5);
        QCOMPARE(editor.SelectedText(), std::u16string(u"b\r\nЭт"));
        editor.SetSelectionStart(9);
        editor.SetSelectionLength(3);
        QCOMPARE(editor.SelectedText(), std::u16string(u"\U0001F600x"));
        editor.SetSelectionStart(100);  // beyond the end: the caret goes to the end
        QCOMPARE(editor.SelectionStart(), size_t{12});
        QCOMPARE(editor.SelectionLength(), size_t{0});
    }

    void replacingTheSelectionIsAnEdit() {
        Editor editor;
        QSignalSpy changed(&editor, &Editor::Changed);
        editor.ReplaceText(u"one two three");
        editor.SetSelectionStart(4);
        editor.SetSelectionLength(3);
        editor.ReplaceSelection(u"<b>2\n2</b>");
        QCOMPARE(editor.Text(), std::u16string(u"one <b>2\r\n2</b> three"));
        QCOMPARE(editor.SelectionStart(), size_t{15});  // the caret after the insertion
        QCOMPARE(editor.SelectionLength(), size_t{0});
        QVERIFY(changed.count() >= 1);
        const int before = changed.count();
        editor.SetSelectionStart(0);
        editor.ReplaceSelection(u"x\ry");  // nothing selected: inserted at the caret
        QCOMPARE(editor.Text(), std::u16string(u"x\r\nyone <b>2\r\n2</b> three"));
        QVERIFY(changed.count() > before);
        editor.Clear();
        QCOMPARE(editor.Text(), std::u16string());
        QCOMPARE(editor.LineCount(), size_t{0});
    }

    void typingRaisesTheNotificationAndBusyBlocksIt() {
        Editor editor;
        editor.show();
        editor.setFocus();
        QSignalSpy changed(&editor, &Editor::Changed);
        QTest::keyClicks(&editor, "ab");
        QCOMPARE(editor.Text(), std::u16string(u"ab"));
        QVERIFY(changed.count() >= 2);
        editor.SetBusy(true);
        QTest::keyClicks(&editor, "c");
        QCOMPARE(editor.Text(), std::u16string(u"ab"));
        editor.ReplaceText(u"still replaceable");  // the command's own result goes in while busy
        QCOMPARE(editor.Text(), std::u16string(u"still replaceable"));
        editor.SetBusy(false);
        QTest::keyClick(&editor, Qt::Key_End);
        QTest::keyClicks(&editor, "!");
        QCOMPARE(editor.Text(), std::u16string(u"still replaceable!"));
    }

    void everyWayInGivesCrLfBreaks() {
        // "ab" CR LF "cd" LF "eф" CR "gh": four lines, fourteen characters once every break is CR LF.
        const QString raw = QString::fromUtf8("ab\r\ncd\ne\xD1\x84\rgh");
        const std::u16string expected = u"ab\r\ncd\r\neф\r\ngh";
        const auto sendTo = [](QWidget* target, QEvent& event) { QApplication::sendEvent(target, &event); };
        struct Way {
            const char* name;
            std::function<void(Editor&)> put;
        } ways[] = {
            {"the control's own insertion",
             [&](Editor& e) {
                 const QByteArray utf8 = raw.toUtf8();
                 e.SendScintilla(QsciScintillaBase::SCI_ADDTEXT, static_cast<unsigned long>(utf8.size()),
                                 utf8.constData());
             }},
            {"setText", [&](Editor& e) { e.setText(raw); }},
            {"accessibility",
             [&](Editor& e) {
                 QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&e);
                 QVERIFY(access && access->editableTextInterface());
                 access->editableTextInterface()->insertText(0, raw);
             }},
            {"input method",
             [&](Editor& e) {
                 QInputMethodEvent event;
                 event.setCommitString(raw);
                 sendTo(&e, event);
             }},
            {"dropped text",
             [&](Editor& e) {
                 QMimeData data;
                 data.setText(raw);
                 QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                 sendTo(e.viewport(), enter);
                 QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                 sendTo(e.viewport(), drop);
             }},
            {"paste",
             [&](Editor& e) {
                 QApplication::clipboard()->setText(raw);
                 e.paste();
             }},
        };
        for (const Way& way : ways) {
            Editor editor;
            editor.show();
            editor.setFocus();
            QSignalSpy changed(&editor, &Editor::Changed);
            way.put(editor);
            QVERIFY2(editor.Text() == expected, way.name);
            QVERIFY2(editor.LineCount() == 4, way.name);
            QVERIFY2(editor.TextLength() == 14, way.name);
            QVERIFY2(changed.count() >= 1, way.name);
        }
    }

    void endGoesFirstAfterTheTextThenToTheLineEnd() {
        Editor editor;
        editor.show();
        editor.setFocus();
        editor.ReplaceText(u"  ab  \r\n    ");
        QTest::keyClick(&editor, Qt::Key_End);
        QCOMPARE(editor.SelectionStart(), size_t{4});
        QTest::keyClick(&editor, Qt::Key_End);
        QCOMPARE(editor.SelectionStart(), size_t{6});
        editor.SetSelectionStart(0);
        QTest::keyClick(&editor, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(editor.SelectedText(), std::u16string(u"  ab"));
        // A blank line: straight to its end.
        editor.SetSelectionStart(8);
        QTest::keyClick(&editor, Qt::Key_End);
        QCOMPARE(editor.SelectionStart(), size_t{12});
        // Tabs typed as spaces, eight wide.
        QTest::keyClick(&editor, Qt::Key_Home);
        editor.ReplaceText(u"x");
        QTest::keyClick(&editor, Qt::Key_Tab);
        QCOMPARE(editor.Text(), std::u16string(u"        x"));
    }

    void horizontalScrollBarOnlyForWideLines() {
        Editor editor;
        editor.resize(400, 300);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QTRY_VERIFY(!editor.horizontalScrollBar()->isVisible());
        editor.ReplaceText(std::u16string(400, u'w'));
        editor.viewport()->repaint();
        QTRY_VERIFY(editor.horizontalScrollBar()->isVisible());
        editor.ReplaceText(u"short");
        editor.viewport()->repaint();
        QTRY_VERIFY(!editor.horizontalScrollBar()->isVisible());
    }

    // Preparing the next document (as a command does while it runs) leaves the shown one as it was:
    // its lines still map to display lines, and a repaint highlights only what it shows rather than
    // the whole text.
    void preparingADocumentLeavesTheShownTextAlone() {
        Editor editor;
        QsciLexerHTML highlighter;
        editor.SetHighlighter(&highlighter);
        editor.resize(600, 400);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        std::u16string text;
        for (int i = 0; i < 20000; ++i) text += u"<p class=\"x\">строка <b>line</b></p>\r\n";
        editor.ReplaceText(text);
        editor.viewport()->repaint();
        const long length = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        PreparedDocument next = editor.NewDocument();
        editor.viewport()->repaint();
        QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_VISIBLEFROMDOCLINE, 15000UL), 15000L);
        QVERIFY(editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED) < length / 10);
        next.Fill(u"<p>next</p>");
        editor.Adopt(std::move(next));
        QCOMPARE(editor.Text(), std::u16string(u"<p>next</p>"));
    }

    // UTF-8 bytes (a file read from disk) get the editor's breaks on their way into a document, without
    // a round trip through UTF-16: the same text as decoding them and replacing the text with that.
    void utf8FillsGiveTheEditorsBreaks() {
        static constexpr std::u16string_view kPieces[] = {
            u"a",        u"я",        u"€",      u"\r",         u"\n",
            u"\r\n",     u"\n\r",     u" ",      u"\u2028",     u"\u2028\r\n",
            u"\u2028\n", u"\u2028\r", u"\u2029", u"\U0001F600", std::u16string_view(u"\0", 1)};
        Editor editor;
        std::mt19937 rng(5);
        for (int iteration = 0; iteration < testing::FuzzCases(400); ++iteration) {
            const std::string bytes = EncodeUtf8(testing::RandomPieces(rng, 24, kPieces));
            PreparedDocument document = editor.NewDocument();
            document.FillUtf8(bytes);
            editor.Adopt(std::move(document));
            const std::u16string viaUtf16 = ToEditorText(DecodeUtf8(bytes));
            QVERIFY2(editor.Text() == viaUtf16, bytes.c_str());
        }
        // Pieces handed on a megabyte at a time: a run longer than that, breaks on both sides of it.
        std::string big;
        for (int i = 0; i < 60000; ++i) big += "строка line\n";
        big += std::string(3'000'000, 'x') + "\r" + big + "\r\n\u2028";
        PreparedDocument document = editor.NewDocument();
        document.FillUtf8(big);
        editor.Adopt(std::move(document));
        QVERIFY(editor.Text() == ToEditorText(DecodeUtf8(big)));
    }

    void bigTextsRoundTrip() {
        Editor editor;
        std::u16string text;
        for (int i = 0; i < 200000; ++i) text += u"строка line\r\n";
        editor.ReplaceText(text);
        QCOMPARE(editor.Text(), text);
        QCOMPARE(editor.LineCount(), size_t{200001});
        editor.SetSelectionStart(13 * 150000 + 7);
        editor.SetSelectionLength(4);
        QCOMPARE(editor.SelectedText(), std::u16string(u"line"));
    }
};

QTEST_MAIN(EditorTest)
#include "editor_test.moc"
