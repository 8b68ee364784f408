// The read-only analyses through the real main window: tag counting with its custom-tag window, and
// the text-information window.
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/custom_tag_window.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/support/gui_fixture.h"
#include "app/text_info_window.h"
#include "app/ui_services.h"
#include "markup/text_info.h"
#include "support/recording_progress.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;
using vernalith::testing::Q;
using vernalith::testing::RecordingProgress;

namespace {

// Runs `trigger`, which should show `dialog` modally; `inspect` runs while it is open, then `close`
// closes it (rejecting it by default). Returns whether the dialog was seen open and modal.
bool WhileModal(QDialog* dialog, const std::function<void()>& trigger, const std::function<void()>& inspect,
                const std::function<void()>& close = {}) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, dialog, [&] {
        if (!dialog->isVisible() || QApplication::activeModalWidget() != dialog) return;
        poll.stop();
        seen = true;
        inspect();
        if (close) {
            close();
        } else {
            dialog->reject();
        }
    });
    poll.start();
    trigger();
    return seen;
}

QStringList WordLines(TextInfoWindow* window) {
    const QString text = window->wordBox()->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

QString Repeat(const QString& word, int times) {
    QStringList words;
    for (int i = 0; i < times; ++i) words << word;
    return words.join(' ');
}

}  // namespace

class AnalysisCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void tagCounting_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("customTag");  // as typed into the custom-tag window
        QTest::addColumn<QString>("message");

        QTest::addRow("headings in both cases") << "<H1>Раз</H1><h1>Два</h1><h2>x</h2>"
                                                << "<h4>"
                                                << "<h1> - 2\n\r<h2> - 1\n\r<h3> - 0\n\r<h4> - 0\n\r";
        QTest::addRow("custom tag typed in capitals") << "<h4>a</h4><H4>b</H4><h3>"
                                                      << "<H4>"
                                                      << "<h1> - 0\n\r<h2> - 0\n\r<h3> - 1\n\r<h4> - 2\n\r";
        QTest::addRow("single letter inside words and tags") << "Pp p"
                                                             << "p"
                                                             << "<h1> - 0\n\r<h2> - 0\n\r<h3> - 0\n\rp - 3\n\r";
        QTest::addRow("attributes hide a heading") << "<h1 class=x>a"
                                                   << "<h1"
                                                   << "<h1> - 0\n\r<h2> - 0\n\r<h3> - 0\n\r<h1 - 1\n\r";
        QTest::addRow("overlapping matches") << "aaaa"
                                             << "aa"
                                             << "<h1> - 0\n\r<h2> - 0\n\r<h3> - 0\n\raa - 3\n\r";
        QTest::addRow("across the added spaces") << "x"
                                                 << " x "
                                                 << "<h1> - 0\n\r<h2> - 0\n\r<h3> - 0\n\r x  - 1\n\r";
        QTest::addRow("line breaks") << "<h2>\r\n<h2>"
                                     << "\r\n"
                                     << "<h1> - 0\n\r<h2> - 2\n\r<h3> - 0\n\r\r\n - 1\n\r";
        QTest::addRow("empty text") << ""
                                    << "<h4>"
                                    << "<h1> - 0\n\r<h2> - 0\n\r<h3> - 0\n\r<h4> - 0\n\r";
        QTest::addRow("empty tag, empty text") << ""
                                               << ""
                                               << "<h1> - 0\n\r<h2> - 0\n\r<h3> - 0\n\r - 2\n\r";
        QTest::addRow("empty tag counts every position") << "abc\r\nd"
                                                         << ""
                                                         << "<h1> - 0\n\r<h2> - 0\n\r<h3> - 0\n\r - 8\n\r";
    }

    void tagCounting() {
        QFETCH(QString, text);
        QFETCH(QString, customTag);
        QFETCH(QString, message);
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(vernalith::testing::U(text));
        f.windows->form5->edit1()->setText(customTag);
        QAction* button = f.window().action("ToolButton19");
        f.window().statusPanel(2)->setText(QStringLiteral("выполнено 5 %"));
        bool disabledMeanwhile = false;
        f.ui.whileMessageShown = [&] { disabledMeanwhile = !button->isEnabled(); };

        f.window().Trigger("ToolButton19");

        QCOMPARE(f.ui.messages, QStringList({message}));
        QVERIFY(disabledMeanwhile);
        QVERIFY(button->isEnabled());
        QCOMPARE(f.window().statusPanel(2)->text(), QString());
        // Read-only: the text and the undo state stay as they were.
        QCOMPARE(Q(f.editor().Text()), text);
        QVERIFY(!f.window().runner().UndoAvailable());
        QCOMPARE(f.windows->form5->edit1()->text(), customTag);
    }

    void theRealMessageBoxShowsTagsAsText() {
        DesktopUiServices ui;
        QString shownText;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, qApp, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shownText = box->text();
            format = box->textFormat();
            box->accept();
        });
        // Each LF CR pair shows as one line break, and the one that ends the message adds no line.
        ui.ShowMessage(nullptr, QStringLiteral("<h1> - 2\n\r<h2> - 1\n\r<h3> - 0\n\r<h4> - 0\n\r"));
        QCOMPARE(shownText, QStringLiteral("<h1> - 2\n<h2> - 1\n<h3> - 0\n<h4> - 0"));
        QCOMPARE(format, Qt::PlainText);
    }

    void customTagWindow() {
        GuiFixture f;
        f.window().show();
        CustomTagWindow* form5 = f.windows->form5;
        QCOMPARE(Q(f.window().settings().Value(Setting::CustomCountTag)), QStringLiteral("<h4>"));
        const bool shown = WhileModal(
            form5, [&] { f.window().Trigger("N10"); },
            [&] {
                auto* label = form5->findChild<QLabel*>("Label1");
                QVERIFY(label);
                QCOMPARE(label->text(), QStringLiteral("введите тег для подсчета"));
                QCOMPARE(label->pos(), QPoint(8, 8));
                QCOMPARE(form5->edit1()->objectName(), QStringLiteral("Edit1"));
                QCOMPARE(form5->edit1()->pos(), QPoint(8, 27));
                QCOMPARE(form5->edit1()->width(), 121);
                QCOMPARE(form5->edit1()->text(), QStringLiteral("<h4>"));
                QCOMPARE(form5->button1()->text(), QStringLiteral("готово"));
                QCOMPARE(form5->button1()->geometry(), QRect(144, 25, 75, 25));
                QCOMPARE(form5->size(), QSize(233, 67));
                form5->edit1()->selectAll();
                QTest::keyClicks(form5->edit1(), "<P>");
            },
            [&] { QTest::mouseClick(form5->button1(), Qt::LeftButton); });
        QVERIFY(shown);
        QVERIFY(!form5->isVisible());
        // The field holds the tag the count reads when it starts; closing the window counted nothing.
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(Q(f.window().settings().Value(Setting::CustomCountTag)), QStringLiteral("<P>"));
        f.editor().ReplaceText(u"<p>a</p><P>");
        f.window().Trigger("ToolButton19");
        QCOMPARE(f.ui.messages.last(), QStringLiteral("<h1> - 0\n\r<h2> - 0\n\r<h3> - 0\n\r<p> - 2\n\r"));

        // Closed any other way, the window keeps what the field holds.
        QVERIFY(WhileModal(
            form5, [&] { f.window().Trigger("N10"); },
            [&] {
                form5->edit1()->setText(QStringLiteral("<b>"));
                QTest::keyClick(form5, Qt::Key_Escape);
            },
            [] {}));
        QCOMPARE(Q(f.window().settings().Value(Setting::CustomCountTag)), QStringLiteral("<b>"));
        // Loading settings puts the value into the field.
        QVERIFY(f.window().settings().Assign(Setting::CustomCountTag, u"<h5>"));
        QCOMPARE(form5->edit1()->text(), QStringLiteral("<h5>"));
    }

    void textInformation_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("withoutSpaces");
        QTest::addColumn<QStringList>("words");

        QTest::addRow("function words and yo") << "Кот и кот. Пёс"
                                               << "всего символов 14"
                                               << "символов без пробелов 11" << QStringList({"кот - 2", "п - 1"});
        QTest::addRow("capital and small yo") << "Ёлка ёлка"
                                              << "всего символов 9"
                                              << "символов без пробелов 8" << QStringList({"ёлка - 1", "лка - 1"});
        QTest::addRow("a line break counts two")
            << "a b\r\nc"
            << "всего символов 6"
            << "символов без пробелов 5" << QStringList({"a - 1", "b - 1", "c - 1"});
        QTest::addRow("counts compared as numbers")
            << Repeat("z", 2) + " " + Repeat("y", 9) + " " + Repeat("x", 10) << "всего символов 41"
            << "символов без пробелов 21" << QStringList({"x - 10", "y - 9", "z - 2"});
        QTest::addRow("ties keep the first appearance")
            << "дом сад дом сад лес"
            << "всего символов 19"
            << "символов без пробелов 15" << QStringList({"дом - 2", "сад - 2", "лес - 1"});
        QTest::addRow("only function words") << "и в с на"
                                             << "всего символов 8"
                                             << "символов без пробелов 5" << QStringList();
        QTest::addRow("hyphen splits, tab is no space") << "кто-то\tКТО"
                                                        << "всего символов 10"
                                                        << "символов без пробелов 10" << QStringList({"кто - 2"});
    }

    void textInformation() {
        QFETCH(QString, text);
        QFETCH(QString, total);
        QFETCH(QString, withoutSpaces);
        QFETCH(QStringList, words);
        GuiFixture f;
        f.window().show();
        f.editor().ReplaceText(vernalith::testing::U(text));
        TextInfoWindow* form4 = f.windows->form4;
        const bool shown = WhileModal(
            form4, [&] { f.window().Trigger("ToolButton17"); },
            [&] {
                QCOMPARE(form4->label1()->text(), total);
                QCOMPARE(form4->label2()->text(), withoutSpaces);
                QCOMPARE(WordLines(form4), words);
                QCOMPARE(form4->wordBox()->textCursor().position(), 0);
                QCOMPARE(f.window().statusPanel(2)->text(), QString());
            });
        QVERIFY(shown);
        QVERIFY(f.ui.messages.isEmpty());
        QVERIFY(!f.window().runner().UndoAvailable());
        QCOMPARE(Q(f.editor().Text()), text);
    }

    void textInformationWindowLayout() {
        GuiFixture f;
        TextInfoWindow* form4 = f.windows->form4;
        QCOMPARE(form4->label1()->objectName(), QStringLiteral("Label1"));
        QCOMPARE(form4->label1()->pos(), QPoint(8, 8));
        QCOMPARE(form4->label2()->objectName(), QStringLiteral("Label2"));
        QCOMPARE(form4->label2()->pos(), QPoint(8, 27));
        QCOMPARE(form4->wordBox()->objectName(), QStringLiteral("RichEdit1"));
        QCOMPARE(form4->wordBox()->geometry(), QRect(219, 8, 201, 121));
        QCOMPARE(form4->wordBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    void emptyTextShowsTheMessageAndClearsOnlyTheWordList() {
        GuiFixture f;
        f.window().show();
        TextInfoWindow* form4 = f.windows->form4;
        f.editor().ReplaceText(u"слово слово");
        QVERIFY(WhileModal(
            form4, [&] { f.window().Trigger("ToolButton17"); }, [] {}));
        QCOMPARE(WordLines(form4), QStringList({"слово - 2"}));

        f.editor().ReplaceText(u"");
        bool windowShown = false;
        f.ui.whileMessageShown = [&] { windowShown = form4->isVisible(); };
        f.window().Trigger("ToolButton17");
        QCOMPARE(f.ui.messages, QStringList({"Поле для ввода текста пустое, пожалуйста вставьте текст."}));
        QVERIFY(!windowShown);
        QVERIFY(!form4->isVisible());
        QCOMPARE(WordLines(form4), QStringList());
        // The labels keep the last run's counts.
        QCOMPARE(form4->label1()->text(), QStringLiteral("всего символов 11"));
        QCOMPARE(form4->label2()->text(), QStringLiteral("символов без пробелов 10"));
    }

    void aClickDuringARunOfTextInformationIsIgnored() {
        GuiFixture f;
        f.window().show();
        TextInfoWindow* form4 = f.windows->form4;
        f.editor().ReplaceText(u"первый");
        QVERIFY(WhileModal(
            form4, [&] { f.window().Trigger("ToolButton17"); },
            [&] {
                // Still inside the first run: a second request must neither refill nor reshow the window.
                f.editor().ReplaceText(u"второй");
                f.window().Trigger("ToolButton17");
                QCOMPARE(WordLines(form4), QStringList({"первый - 1"}));
            }));
        QVERIFY(f.ui.messages.isEmpty());
        // Once it is over, the next click runs again.
        QVERIFY(WhileModal(
            form4, [&] { f.window().Trigger("ToolButton17"); }, [] {}));
        QCOMPARE(WordLines(form4), QStringList({"второй - 1"}));
    }

    void aLongWordListIsCompleteAndStartsAtItsTop() {
        GuiFixture f;
        f.window().show();
        // Distinct words, the first one once more so the list has a clear head; the list is added
        // in chunks, so take more words than fit in two.
        const int distinct = 2 * TextInfoWindow::kLinesPerChunk + 500;
        QStringList words;
        for (int i = 0; i < distinct; ++i) {
            QString word;
            for (int n = i + 1; n > 0; n /= 26) word += QChar('a' + n % 26);
            words << word;
        }
        f.editor().ReplaceText(vernalith::testing::U(words.join(' ') + " b"));
        QStringList expected = {"b - 2"};
        for (int i = 1; i < distinct; ++i) expected << words[i] + " - 1";
        TextInfoWindow* form4 = f.windows->form4;
        QVERIFY(WhileModal(
            form4, [&] { f.window().Trigger("ToolButton17"); },
            [&] {
                QCOMPARE(WordLines(form4), expected);
                QCOMPARE(form4->wordBox()->textCursor().position(), 0);
                QCOMPARE(form4->wordBox()->verticalScrollBar()->value(), 0);
            }));

        // Filling lets events through once per full chunk.
        TextInformation information;
        information.text = u"w";
        information.words.resize(distinct, WordCount{0, 1});
        RecordingProgress progress;
        form4->ShowInformation(information, progress);
        QCOMPARE(progress.calls, std::vector<std::string>({"pump", "pump"}));
        QCOMPARE(WordLines(form4).size(), distinct);
    }
};

QTEST_MAIN(AnalysisCommandsTest)
#include "analysis_commands_test.moc"
