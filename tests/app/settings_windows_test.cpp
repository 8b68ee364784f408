// The settings windows through the real main window: the function settings' pages, fields and
// openers, the tag hot-key window and the tag hint it rebuilds, and the fields as the settings the
// procedures read.
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <functional>

#include "app/settings/function_settings_window.h"
#include "app/settings/memo_field.h"
#include "app/settings/tag_hotkey_window.h"
#include "app/support/gui_fixture.h"
#include "app/support/rendered_text.h"
#include "settings/settings_table.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;
using vernalith::testing::TypeInto;
using vernalith::testing::Q;
using vernalith::testing::RenderedText;
using vernalith::testing::U;

namespace {

const QString kDesignHint =
    QStringLiteral("вставка тегов, выделите нужный фрагмент текста и нажмите соответствующий хоткей");

QString HintOfTagButton(GuiFixture& f) {
    // The button shows what its action holds; both must carry the hint.
    const QString hint = f.window().action("ToolButton16")->toolTip();
    if (f.window().toolButton("ToolButton16")->toolTip() != hint) return QStringLiteral("<button differs>");
    return hint;
}

// A page's contents as the user reads them, row by row from the top: a label as its text, a field as
// [Name=text] (one line) or {Name=text} (multi-line); things on one row joined by " | ".
QStringList PageRows(QWidget* page) {
    QList<QWidget*> items;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<MemoField*>(w)) items << w;
    }
    std::sort(items.begin(), items.end(),
              [](QWidget* a, QWidget* b) { return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x()); });
    QStringList rows;
    int lastTop = -1;
    for (QWidget* w : items) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        if (auto* field = qobject_cast<QLineEdit*>(w)) text = "[" + w->objectName() + "=" + field->text() + "]";
        if (auto* memo = qobject_cast<MemoField*>(w)) text = "{" + w->objectName() + "=" + Q(memo->Text()) + "}";
        if (w->y() == lastTop) {
            rows.last() += " | " + text;
        } else {
            rows << text;
        }
        lastTop = w->y();
    }
    return rows;
}

// What a modal window looked like while it was open.
struct Seen {
    bool opened = false;
    bool modal = false;
    int page = -1;
    QPoint centreOffset;  // the window's centre less the main window's
};

// Runs `open`, which must show `dialog` modally; inside the dialog's own event loop records what is
// seen, runs `whileOpen` (which may edit fields), and closes the dialog by `close`.
Seen RunModal(GuiFixture& f, QDialog* dialog, const std::function<void()>& open, const std::function<void()>& close,
              const std::function<void()>& whileOpen = {}) {
    Seen seen;
    QTimer::singleShot(0, dialog, [&] {
        seen.opened = dialog->isVisible();
        seen.modal = QApplication::activeModalWidget() == dialog;
        if (auto* settings = qobject_cast<FunctionSettingsWindow*>(dialog))
            seen.page = settings->pages()->currentIndex();
        seen.centreOffset = dialog->frameGeometry().center() - f.window().frameGeometry().center();
        if (whileOpen) whileOpen();
        close();
    });
    open();
    return seen;
}

// Centred on the main window, within rounding and the width of a frame.
bool Centred(const Seen& seen) { return qAbs(seen.centreOffset.x()) <= 2 && qAbs(seen.centreOffset.y()) <= 2; }

void ClickDone(QDialog* dialog) { QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton); }


}  // namespace

class SettingsWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void functionSettingsPagesHoldTheirFieldsWithDefaults() {
        GuiFixture f;
        FunctionSettingsWindow* w = f.windows->form6;
        QVERIFY(w->width() >= 336);  // wider where the five tabs need it
        QCOMPARE(w->height(), 304);
        const struct {
            QString caption;
            QStringList rows;
        } pages[] = {
            {"Замена символов",
             {"введите через разделитель символы для замены", "чувствительно к регистру", "{ReplaceList=Memo2}",
              "использовать разделитель", "[ReplaceSeparator=,]"}},
            {"Удаление символов", {"введите построчно символы для удаления", "{RemoveList=Memo1}"}},
            {"Авторазбивка статей",
             {"тег заголовка", "[HeadingOpenTag=<h1>] | [HeadingCloseTag=</h1>]", "длинна заголовка в символах",
              "[HeadingLength=37]", "символов на статью (от и до)", "[ArticleMinChars=1400] | [ArticleMaxChars=1700]"}},
            {"Вставка символов в начало и в конец строк",
             {"вставлять в начало строки", "[LinePrefix=]", "вставлять в конец строки", "[LineSuffix=.]"}},
            {"Удаление сносок",
             {"введите шаблон для сносок - начало сноски и конец сноски",
              "например, для \"(см. рис. N)\" вводим \"(см.\" и \")\"", "[FootnoteStart=(см. рис] | [FootnoteEnd=)]"}},
        };
        QTabWidget* tabs = w->pages();
        QCOMPARE(tabs->count(), 5);
        QCOMPARE(tabs->currentIndex(), 2);  // the page it opens at before any opener chose one
        w->show();
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(tabs->tabText(i), pages[i].caption);
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            QCOMPARE(PageRows(tabs->widget(i)), pages[i].rows);
        }
        // The lists are multi-line fields with a vertical scroll bar.
        for (const char* name : {"ReplaceList", "RemoveList"}) {
            auto* memo = w->findChild<MemoField*>(name);
            QVERIFY(memo);
            QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        }
        // "готово" at the right of a 39-pixel strip under the page control.
        auto* strip = w->findChild<QWidget*>("Panel1");
        auto* done = w->findChild<QPushButton*>("Button1");
        QCOMPARE(strip->geometry(), QRect(0, 304 - 39, w->width(), 39));
        QCOMPARE(tabs->geometry(), QRect(0, 0, w->width(), 304 - 39));
        QCOMPARE(done->text(), QStringLiteral("готово"));
        QVERIFY(done->geometry().right() > w->width() - 20);
        QVERIFY(done->geometry().left() > w->width() / 2);
        ClickDone(w);
        QVERIFY(!w->isVisible());
    }

    void tagHotkeyWindowRowsWithDefaults() {
        GuiFixture f;
        TagHotkeyWindow* w = f.windows->form3;
        QCOMPARE(w->size(), QSize(316, 177));
        w->show();
        QApplication::processEvents();
        auto* frame = w->findChild<QGroupBox*>();
        QCOMPARE(frame->title(), QStringLiteral(" Вставка тегов "));
        QCOMPARE(PageRows(frame), QStringList({
                                      "[Edit1=<h2>] | [Edit5=</h2>] | - F5",
                                      "[Edit2=<h3>] | [Edit6=</h3>] | - F6",
                                      "[Edit3=<a href=\"\">] | [Edit7=</a>] | - F7",
                                      "[Edit4=<b>] | [Edit8=</b>] | - F8",
                                  }));
        // "готово" below the frame, as wide as it.
        auto* done = w->findChild<QPushButton*>("Button1");
        QCOMPARE(done->text(), QStringLiteral("готово"));
        QVERIFY(done->y() > frame->geometry().bottom());
        QCOMPARE(done->x(), frame->x());
        QCOMPARE(done->width(), frame->width());
        QVERIFY(done->width() >= 316 - 16);
    }

    void everyOpenerShowsItsWindowModallyAtItsPage() {
        GuiFixture f;
        f.window().show();
        FunctionSettingsWindow* w = f.windows->form6;
        const struct {
            const char* control;
            int page;
        } openers[] = {{"ToolButton34", 0}, {"N16", 0}, {"N13", 1}, {"N19", 2}, {"N34", 3}, {"N37", 4}};
        for (const auto& o : openers) {
            w->pages()->setCurrentIndex((o.page + 1) % 5);  // the opener must choose the page itself
            const Seen seen = RunModal(
                f, w, [&] { f.window().action(o.control)->trigger(); }, [&] { ClickDone(w); });
            QVERIFY2(seen.opened && seen.modal, o.control);
            QCOMPARE(seen.page, o.page);
            QVERIFY2(Centred(seen), o.control);
            QVERIFY(!w->isVisible());
        }
        // The tag button opens the tag window.
        const Seen seen = RunModal(
            f, f.windows->form3, [&] { f.window().action("ToolButton16")->trigger(); },
            [&] { ClickDone(f.windows->form3); });
        QVERIFY(seen.opened && seen.modal);
        QVERIFY(Centred(seen));
        QVERIFY(!f.windows->form3->isVisible());
    }

    void listEditorOpenerShowsThePageShownLast() {
        GuiFixture f;
        f.window().show();
        FunctionSettingsWindow* w = f.windows->form6;
        auto closeBox = [w] { w->close(); };
        auto fromListEditor = [w] { w->OpenAtLastPage(); };
        // Before any other opener: "Авторазбивка статей".
        QCOMPARE(RunModal(f, w, fromListEditor, closeBox).page, 2);
        // "параметры" of "удаление сносок", then the list editor's opener: "Удаление сносок" both times.
        auto footnoteSettings = [&] { f.window().action("N37")->trigger(); };
        QCOMPARE(RunModal(f, w, footnoteSettings, closeBox).page, 4);
        const Seen again = RunModal(f, w, fromListEditor, closeBox);
        QVERIFY(again.opened && again.modal);
        QCOMPARE(again.page, 4);
        QCOMPARE(w->pages()->tabText(again.page), QStringLiteral("Удаление сносок"));
        // A page the user went to by its tab is the page shown last too.
        auto clickTab = [w] {
            QTabBar* bar = w->pages()->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        };
        auto lineSettings = [&] { f.window().action("N34")->trigger(); };
        QCOMPARE(RunModal(f, w, lineSettings, closeBox, clickTab).page, 3);
        QCOMPARE(w->pages()->currentIndex(), 1);
        QCOMPARE(RunModal(f, w, fromListEditor, closeBox).page, 1);
    }

    void tagHintIsBuiltAtShowAndOnEveryClose() {
        GuiFixture f;
        TagHotkeyWindow* w = f.windows->form3;
        // Before the show step the button keeps its design hint.
        QCOMPARE(HintOfTagButton(f), kDesignHint);
        const QString fixed =
            QStringLiteral("вставка тегов\n\rвыделите нужный фрагмент текста и нажмите соответствующий хоткей\n\r");
        const QString defaults =
            fixed + QStringLiteral("<h2></h2> - F5\n\r<h3></h3> - F6\n\r<a href=\"\"></a> - F7\n\r<b></b> - F8");
        f.window().show();
        QCOMPARE(HintOfTagButton(f), defaults);

        // Emptying the F6 closing field; the hint changes only when the window closes (close box).
        QSignalSpy built(w, &TagHotkeyWindow::TagHintBuilt);
        QString hintWhileOpen;
        RunModal(
            f, w, [&] { f.window().action("ToolButton16")->trigger(); }, [w] { w->close(); },
            [&] {
                TypeInto(w->findChild<QLineEdit*>("Edit6"), QString());
                hintWhileOpen = HintOfTagButton(f);
            });
        QCOMPARE(hintWhileOpen, defaults);
        const QString withoutF6Closing =
            fixed + QStringLiteral("<h2></h2> - F5\n\r<h3> - F6\n\r<a href=\"\"></a> - F7\n\r<b></b> - F8");
        QCOMPARE(HintOfTagButton(f), withoutF6Closing);
        QVERIFY(!built.isEmpty());

        // Closing by "готово" builds it the same way, however often it is built.
        built.clear();
        RunModal(
            f, w, [&] { f.window().action("ToolButton16")->trigger(); }, [w] { ClickDone(w); },
            [&] {
                TypeInto(w->findChild<QLineEdit*>("Edit1"), QStringLiteral("<п>"));
                TypeInto(w->findChild<QLineEdit*>("Edit8"), QStringLiteral(" x "));
            });
        const QString edited =
            fixed + QStringLiteral("<п></h2> - F5\n\r<h3> - F6\n\r<a href=\"\"></a> - F7\n\r<b> x  - F8");
        QCOMPARE(HintOfTagButton(f), edited);
        QVERIFY(!built.isEmpty());
        for (const QList<QVariant>& call : built) QCOMPARE(call.at(0).toString(), edited);
        QCOMPARE(w->TagHint(), edited);
    }

    void tagHintShowsWithSingleLineBreaks() {
        GuiFixture f;
        f.window().show();
        f.window().action("ToolButton15")->trigger();  // the HTML bar holds the tag button
        QToolButton* button = f.window().toolButton("ToolButton16");
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(RenderedText(QToolTip::text(), Qt::AutoText), HintOfTagButton(f).remove(QChar(u'\r')));
        QVERIFY(HintOfTagButton(f).contains(QStringLiteral("\n\r")));  // the hint itself is unchanged
        QToolTip::hideText();
    }

    void fieldsAreTheSettingsTheProceduresRead() {
        GuiFixture f;
        WindowSettings& settings = f.window().settings();
        const struct {
            Setting setting;
            QDialog* window;
            const char* field;
            bool multiLine;
        } fields[] = {
            {Setting::ReplaceList, f.windows->form6, "ReplaceList", true},
            {Setting::ReplaceSeparator, f.windows->form6, "ReplaceSeparator", false},
            {Setting::RemoveList, f.windows->form6, "RemoveList", true},
            {Setting::HeadingOpenTag, f.windows->form6, "HeadingOpenTag", false},
            {Setting::HeadingCloseTag, f.windows->form6, "HeadingCloseTag", false},
            {Setting::HeadingLength, f.windows->form6, "HeadingLength", false},
            {Setting::ArticleMinChars, f.windows->form6, "ArticleMinChars", false},
            {Setting::ArticleMaxChars, f.windows->form6, "ArticleMaxChars", false},
            {Setting::LinePrefix, f.windows->form6, "LinePrefix", false},
            {Setting::LineSuffix, f.windows->form6, "LineSuffix", false},
            {Setting::FootnoteStart, f.windows->form6, "FootnoteStart", false},
            {Setting::FootnoteEnd, f.windows->form6, "FootnoteEnd", false},
            {Setting::HotkeyTagOpenF5, f.windows->form3, "Edit1", false},
            {Setting::HotkeyTagOpenF6, f.windows->form3, "Edit2", false},
            {Setting::HotkeyTagOpenF7, f.windows->form3, "Edit3", false},
            {Setting::HotkeyTagOpenF8, f.windows->form3, "Edit4", false},
            {Setting::HotkeyTagCloseF5, f.windows->form3, "Edit5", false},
            {Setting::HotkeyTagCloseF6, f.windows->form3, "Edit6", false},
            {Setting::HotkeyTagCloseF7, f.windows->form3, "Edit7", false},
            {Setting::HotkeyTagCloseF8, f.windows->form3, "Edit8", false},
        };
        auto fieldText = [](QWidget* field) {
            if (auto* memo = qobject_cast<MemoField*>(field)) return memo->Text();
            return U(static_cast<QLineEdit*>(field)->text());
        };
        // Every field starts with its setting's default, and the setting reads that field.
        for (const auto& x : fields) {
            QWidget* field = x.window->findChild<QWidget*>(x.field);
            QVERIFY2(field, x.field);
            QCOMPARE(qobject_cast<MemoField*>(field) != nullptr, x.multiLine);
            QVERIFY2(x.multiLine || qobject_cast<QLineEdit*>(field), x.field);
            QCOMPARE(fieldText(field), SettingDefault(x.setting));
            QCOMPARE(settings.Value(x.setting), SettingDefault(x.setting));
        }
        // Typing into a field changes its setting at once, while the window is still open, and no
        // other setting: each field gets a text of its own. (Showing the main window loads the settings
        // files first.)
        f.window().show();
        f.windows->form3->show();
        f.windows->form6->show();
        for (size_t i = 0; i < std::size(fields); ++i) {
            const QString typed =
                fields[i].multiLine ? QStringLiteral("поле %1\nстрока\n").arg(i) : QStringLiteral("поле %1 ё").arg(i);
            TypeInto(fields[i].window->findChild<QWidget*>(fields[i].field), typed);
            std::u16string expected = U(typed);
            if (fields[i].multiLine) expected = U(QString(typed).replace("\n", "\r\n"));
            QCOMPARE(settings.Value(fields[i].setting), expected);
        }
        for (size_t i = 0; i < std::size(fields); ++i) {
            QVERIFY2(Q(settings.Value(fields[i].setting)).startsWith(QStringLiteral("поле %1").arg(i)),
                     fields[i].field);
        }
        f.windows->form3->close();
        f.windows->form6->close();

        // Putting a value in (as loading the settings does) shows it in the field.
        for (const auto& x : fields) {
            const std::u16string value = u"<" + SettingDefault(x.setting) + u">";
            QVERIFY2(settings.Assign(x.setting, value), x.field);
            QCOMPARE(fieldText(x.window->findChild<QWidget*>(x.field)), value);
            QCOMPARE(settings.Value(x.setting), value);
        }
        // Showing the windows resets nothing.
        RunModal(
            f, f.windows->form6, [&] { f.window().action("N37")->trigger(); }, [&] { ClickDone(f.windows->form6); });
        RunModal(
            f, f.windows->form3, [&] { f.window().action("ToolButton16")->trigger(); },
            [&] { f.windows->form3->close(); });
        for (const auto& x : fields) {
            QCOMPARE(settings.Value(x.setting), u"<" + SettingDefault(x.setting) + u">");
        }
    }

    void multiLineFieldTextForm_data() {
        QTest::addColumn<QString>("assigned");
        QTest::addColumn<QString>("read");
        QTest::addColumn<int>("shownLines");
        QTest::addRow("one line, no break") << "Memo1"
                                            << "Memo1" << 1;
        QTest::addRow("every break kind becomes CR LF") << "a\rb\nc\r\nd"
                                                        << "a\r\nb\r\nc\r\nd" << 4;
        // Loaded lists end with a break: shown as an empty last line and read back with it.
        QTest::addRow("final break kept") << "a\r\nb\r\n"
                                          << "a\r\nb\r\n"
                                          << 3;
        QTest::addRow("empty lines inside") << "\r\n\r\nx"
                                            << "\r\n\r\nx" << 3;
        QTest::addRow("empty") << ""
                               << "" << 1;
        QTest::addRow("characters kept exactly")
            << QStringLiteral("a\u00a0b\tc\u2028d ё") << QStringLiteral("a\u00a0b\tc\u2028d ё") << 1;
    }

    void multiLineFieldTextForm() {
        QFETCH(QString, assigned);
        QFETCH(QString, read);
        QFETCH(int, shownLines);
        GuiFixture f;
        auto* memo = f.windows->form6->findChild<MemoField*>("RemoveList");
        QVERIFY(f.window().settings().Assign(Setting::RemoveList, U(assigned)));
        QCOMPARE(Q(f.window().settings().Value(Setting::RemoveList)), read);
        QCOMPARE(memo->blockCount(), shownLines);
    }

    void multiLineFieldTyping() {
        GuiFixture f;
        f.windows->form6->show();
        auto* memo = f.windows->form6->findChild<MemoField*>("ReplaceList");
        TypeInto(memo, QStringLiteral("а,б"));
        QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);  // a new line, as Enter
        QTest::keyClicks(memo, "c,d");
        QTest::keyClick(memo, Qt::Key_Return);
        QCOMPARE(f.window().settings().Value(Setting::ReplaceList), std::u16string(u"а,б\r\nc,d\r\n"));
        QTest::keyClick(memo, Qt::Key_Backspace);
        QCOMPARE(f.window().settings().Value(Setting::ReplaceList), std::u16string(u"а,б\r\nc,d"));
    }
};

QTEST_MAIN(SettingsWindowsTest)
#include "settings_windows_test.moc"
