// What the user sees around the commands: every text shown as written (the hints of the command map,
// the captions and labels of the windows, the messages of the real message box); Qt's own texts in
// Russian; all tabs of the function settings readable; window titles exactly the captions; the
// two-state buttons with coloured, distinct pictures.
#include <QAbstractButton>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <new>

#include "app/automatic/list_editor_window.h"
#include "app/command_failure.h"
#include "app/command_map.h"
#include "app/custom_tag_window.h"
#include "app/literal_text.h"
#include "app/settings/function_settings_window.h"
#include "app/settings/memo_field.h"
#include "app/settings/tag_hotkey_window.h"
#include "app/support/gui_fixture.h"
#include "app/support/rendered_text.h"
#include "app/text_info_window.h"
#include "app/ui_services.h"
#include "core/procedure_error.h"
#include "markup/article_split.h"
#include "markup/tag_count.h"
#include "markup/text_info.h"

using namespace vernalith;
using vernalith::testing::GuiFixture;
using vernalith::testing::Q;
using vernalith::testing::RenderedText;

namespace {

QString Control(const CommandSpec& command) {
    return QString::fromLatin1(command.control.data(), static_cast<qsizetype>(command.control.size()));
}

// The label Qt shows a tool tip in, while one is shown.
QLabel* ShownToolTip() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("qtooltip_label") && w->isVisible()) return qobject_cast<QLabel*>(w);
    }
    return nullptr;
}

int WidestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(u'\n')) widest = qMax(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The message box as the user meets it: what its label shows, in which format, and whether the box
// is wide enough for every line.
struct ShownBox {
    QString rendered;
    bool linesFit = false;
    QString title;
};

ShownBox ShowThroughRealBox(const QString& message) {
    ShownBox shown;
    QTimer::singleShot(0, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        shown.rendered = RenderedText(label->text(), label->textFormat());
        shown.linesFit =
            label->width() >= WidestLine(label->fontMetrics(), shown.rendered) && box->width() >= label->width();
        shown.title = box->windowTitle();
        box->accept();
    });
    DesktopUiServices().ShowMessage(nullptr, message);
    return shown;
}

// How colourful a picture is: the share, in percent, of its visible pixels that are clearly coloured.
// A greyed picture, like a disabled button's, has none.
int ColouredShare(const QIcon& icon) {
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    int coloured = 0;
    int visible = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 128) continue;
            ++visible;
            if (c.hsvSaturation() > 100 && c.value() > 60) ++coloured;
        }
    }
    return visible ? 100 * coloured / visible : 0;
}

QString FailureOf(const std::function<void()>& work) { return RunCatchingFailure(work); }

}  // namespace

class AppearanceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void lineBreaksShowAsOneEach() {
        const struct {
            QString text, lines;
        } cases[] = {
            {"a\n\rb\n\rc", "a\nb\nc"},  // LF CR, as the tag hint and the tag-count message
            {"a\r\nb", "a\nb"},         {"a\nb\rc", "a\nb\nc"},
            {"a\n\n\rb", "a\n\nb"},  // two breaks: an empty line between
            {"a\r\r\nb", "a\n\nb"},     {"a\n\r", "a\n"},
        };
        for (const auto& c : cases) QCOMPARE(WithSingleLineBreaks(c.text), c.lines);
        // The rich form of a text shows exactly its characters, tags and runs of spaces included.
        const QString tricky = QStringLiteral("<p>  a &amp; <b>b</b>\n\r\"c\" & 'd' <Hx>");
        QCOMPARE(RenderedText(LiteralRichText(tricky), Qt::AutoText), WithSingleLineBreaks(tricky));
    }

    void everyHintAndCaptionOfTheCommandMapShowsLiterally() {
        GuiFixture f;
        f.window().show();
        for (const char* toggle : {"ToolButton15", "ToolButton21", "ToolButton53"}) f.window().Trigger(toggle);
        QVERIFY(QTest::qWaitForWindowExposed(&f.window()));
        int hints = 0;
        for (const CommandSpec& command : CommandMap()) {
            const QString text = Q(command.text);
            // Menu items and hint texts use no "&", which would be taken for an accelerator mark.
            QVERIFY2(!text.contains(u'&'), qPrintable(Control(command)));
            QToolButton* button = f.window().toolButton(command.control);
            if (!button) continue;
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(button, &help);
            QLabel* tip = ShownToolTip();
            QVERIFY2(tip, qPrintable(Control(command)));
            QCOMPARE(RenderedText(tip->text(), tip->textFormat()), WithSingleLineBreaks(button->toolTip()));
            // One line, never wrapped nor cut.
            QVERIFY2(tip->width() >= WidestLine(tip->fontMetrics(), WithSingleLineBreaks(button->toolTip())),
                     qPrintable(Control(command)));
            QToolTip::hideText();
            ++hints;
        }
        QVERIFY(hints > 30);
    }

    void tagHintShowsEachLineOnce() {
        GuiFixture f;
        f.window().show();
        f.window().Trigger("ToolButton15");
        QToolButton* button = f.window().toolButton("ToolButton16");
        const QString hint = button->toolTip();
        QVERIFY(hint.contains(QStringLiteral("\n\r<h2></h2> - F5")));
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &help);
        QLabel* tip = ShownToolTip();
        QVERIFY(tip);
        const QString rendered = RenderedText(tip->text(), tip->textFormat());
        QCOMPARE(rendered.split(u'\n').size(), 6);
        QCOMPARE(rendered, WithSingleLineBreaks(hint));
        QToolTip::hideText();
    }

    void everyCaptionAndLabelOfTheWindowsShowsLiterally() {
        GuiFixture f;
        QWidget* const windows[] = {&f.window(),      f.windows->form3, f.windows->form4,
                                    f.windows->form5, f.windows->form6, f.windows->form7};
        int texts = 0;
        for (QWidget* window : windows) {
            for (QLabel* label : window->findChildren<QLabel*>()) {
                QCOMPARE(RenderedText(label->text(), label->textFormat()), label->text());
                ++texts;
            }
            for (QGroupBox* frame : window->findChildren<QGroupBox*>()) {
                QVERIFY(!frame->title().contains(u'&'));
                ++texts;
            }
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
                if (!qobject_cast<QToolButton*>(button))
                    QVERIFY2(!button->text().contains(u'&'), qPrintable(button->text()));
            }
            for (QTabBar* tabs : window->findChildren<QTabBar*>()) {
                if (tabs->window() != window) continue;
                for (int i = 0; i < tabs->count(); ++i) {
                    // Only the main window's page has an accelerator ("&Обработка вручную").
                    QCOMPARE(tabs->tabText(i).count(u'&'), window == &f.window() ? 1 : 0);
                }
            }
        }
        QVERIFY(texts > 15);
    }

    void everyMessageShowsLiterallyInABoxWideEnough() {
        TagCounts counts{.h1 = 2, .h2 = 1, .h3 = 0, .custom = 12, .customTag = u"<p>"};
        ArticleSplitSettings badSplit;
        badSplit.maxChars = 10;
        const QString messages[] = {
            QStringLiteral("Vernalith ver 3.05 beta"),
            QStringLiteral("Не добавлено не одной процедуры, пожалуйста создайте список процедур в настройках"),
            Q(kEmptyTextMessage),
            Q(TagCountMessage(counts)),
            FailureOf([&] { CheckArticleSplitSettings(badSplit); }),
            FailureOf([] { ParseIntegerSetting(u"<b>12</b>"); }),
            FailureOf([] { throw std::bad_alloc(); }),
        };
        for (const QString& message : messages) {
            QVERIFY(!message.isEmpty());
            const ShownBox shown = ShowThroughRealBox(message);
            // Each LF CR pair one line break; the break that ends the tag-count message adds no line.
            QString expected = WithSingleLineBreaks(message);
            while (expected.endsWith(u'\n')) expected.chop(1);
            QCOMPARE(shown.rendered, expected);
            QVERIFY2(shown.linesFit, qPrintable(message));
            QCOMPARE(shown.title, QStringLiteral("Vernalith"));
        }
        QCOMPARE(ShowThroughRealBox(Q(TagCountMessage(counts))).rendered,
                 QStringLiteral("<h1> - 2\n<h2> - 1\n<h3> - 0\n<p> - 12"));
    }

    void functionSettingsShowEveryTabInFull() {
        GuiFixture f;
        FunctionSettingsWindow* w = f.windows->form6;
        QVERIFY(w->width() >= 336);
        QCOMPARE(w->height(), 304);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTabBar* tabs = w->pages()->tabBar();
        QCOMPARE(tabs->count(), 5);
        // No scroll arrows, and every tab lies whole inside the bar at its full width.
        for (QToolButton* arrow : tabs->findChildren<QToolButton*>()) QVERIFY(!arrow->isVisible());
        for (int i = 0; i < tabs->count(); ++i) {
            const QRect tab = tabs->tabRect(i);
            QVERIFY2(tabs->rect().contains(tab), qPrintable(tabs->tabText(i)));
            QVERIFY2(tab.width() > tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)),
                     qPrintable(tabs->tabText(i)));
        }
        w->hide();
    }

    void qtOwnTextsAreRussian() {
        // The context menus of the one-line and the multi-line settings fields.
        QLineEdit field;
        field.setText(QStringLiteral("текст"));
        MemoField memo;
        memo.setPlainText(QStringLiteral("текст"));
        const std::unique_ptr<QMenu> menus[] = {std::unique_ptr<QMenu>(field.createStandardContextMenu()),
                                                std::unique_ptr<QMenu>(memo.createStandardContextMenu())};
        for (const auto& menu : menus) {
            int items = 0;
            for (QAction* item : menu->actions()) {
                if (item->isSeparator()) continue;
                const QString caption = item->text().section(u'\t', 0, 0).remove(u'&');
                QVERIFY2(caption.contains(QRegularExpression(QStringLiteral("^[А-Яа-яЁё ]+$"))), qPrintable(caption));
                ++items;
            }
            QVERIFY(items >= 6);
        }
        QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Отмена"));
    }

    void twoStateButtonsShowColouredDistinctPictures() {
        GuiFixture f;
        QSet<QString> pictures;
        for (const CommandSpec& command : CommandMap()) {
            if (!command.icon.empty()) pictures.insert(QString::fromLatin1(command.icon.data(), command.icon.size()));
        }
        int states = 0;
        for (const CommandSpec& command : CommandMap()) {
            if (!command.images.used()) continue;
            const QString off = QString::fromLatin1(command.images.offIcon.data(), command.images.offIcon.size());
            const QString on = QString::fromLatin1(command.images.onIcon.data(), command.images.onIcon.size());
            QVERIFY2(off != on, qPrintable(Control(command)));
            for (const QString& name : {off, on}) {
                const QIcon icon = QIcon::fromTheme(name);
                QVERIFY2(!icon.pixmap(16, 16).isNull(), qPrintable(name));
                // Coloured, so neither state looks like a disabled button.
                QVERIFY2(ColouredShare(icon) >= 10, qPrintable(name + ": " + QString::number(ColouredShare(icon))));
                // Not the picture of another button.
                QVERIFY2(!pictures.contains(name), qPrintable(name));
                pictures.insert(name);
                ++states;
            }
        }
        QCOMPARE(states, 8);
        // Removing line breaks and removing hyphenation are told apart at a glance: pictures from
        // different families, not one picture with a detail changed.
        const QString breaks = Q(u"") + FindCommand("ToolButton26")->icon.data();
        const QString hyphens = Q(u"") + FindCommand("ToolButton27")->icon.data();
        QVERIFY(breaks.section(u'-', 0, 0) != hyphens.section(u'-', 0, 0));
    }

    void windowTitlesAreTheCaptions() {
        // The platform adds the application's display name to every title when one is set: none is,
        // so it follows the application name.
        const QString name = QCoreApplication::applicationName();
        QCOMPARE(name, QStringLiteral("Vernalith"));
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        const QString displayed = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(name);
        QCOMPARE(displayed, QStringLiteral("probe"));
    }
};

QTEST_MAIN(AppearanceTest)
#include "appearance_test.moc"
