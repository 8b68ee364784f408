// The editor document with real files in a temporary folder: opening in every encoding, saving in
// ANSI and UTF-8, the error boxes, the atomic save, the counts, the highlighting and dropped files.
#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexersql.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <csignal>

#include "app/document/document_commands.h"
#include "app/document/highlighting.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "support/gui_fixture.h"
#include "support/recording_progress.h"

using namespace vernalith;
using namespace vernalith::testing;

namespace {

QByteArray Bytes(std::initializer_list<unsigned> values) {
    QByteArray out;
    for (unsigned v : values) out.append(static_cast<char>(v));
    return out;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// "привет" in UTF-8 and in code page 1251.
const QByteArray kPrivetUtf8 = QByteArray("\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
const QByteArray kPrivet1251 = QByteArray("\xEF\xF0\xE8\xE2\xE5\xF2");

}  // namespace

class DocumentTest : public QObject {
    Q_OBJECT

private:
    // Opens `bytes` from a file through "открыть как..." and returns the editor's text.
    static std::u16string Open(GuiFixture& f, const QByteArray& bytes) {
        const QString path = f.folder.filePath("in.txt");
        WriteAll(path, bytes);
        f.ui.files.nextFile = path;
        f.window().Trigger("N23");
        return f.editor().Text();
    }

    // Saves the editor's text through "сохранить как..." in `encoding` and returns the file's bytes.
    static QByteArray Save(GuiFixture& f, SaveEncoding encoding, const QString& name = "out.txt") {
        const QString path = f.folder.filePath(name);
        f.ui.files.nextFile = path;
        f.ui.files.selectEncoding = encoding;
        f.window().Trigger("N24");
        return ReadAll(path);
    }

private slots:
    void opensByMarkOrContent() {
        struct Case {
            const char* name;
            QByteArray bytes;
            std::u16string text;
            size_t lines;
        } cases[] = {
            {"UTF-8 with mark", Bytes({0xEF, 0xBB, 0xBF}) + kPrivetUtf8, u"привет", 1},
            {"UTF-8 without mark", kPrivetUtf8, u"привет", 1},
            {"code page 1251", kPrivet1251, u"привет", 1},
            // Not UTF-8 (an overlong form, a surrogate, a cut sequence): code page 1251.
            {"overlong", Bytes({0xC0, 0x80}), u"А\u0402", 1},
            {"surrogate", Bytes({0xED, 0xA0, 0x80}), u"н\u00A0\u0402", 1},
            {"cut sequence", kPrivetUtf8.left(11), u"РїСЂРёРІРµ\u0421", 1},
            {"UTF-8 with U+0000 and U+2028",
             QByteArray("a\0b\xE2\x80\xA8"
                        "c",
                        7),
             std::u16string(u"a\0b\r\nc", 6), 2},
            // A mark decides even when the rest would read otherwise.
            {"UTF-16 LE mark", Bytes({0xFF, 0xFE, 0x3F, 0x04, 0x0D, 0x00, 0x0A, 0x00, 0x61, 0x00}), u"п\r\na", 2},
            {"UTF-16 BE mark", Bytes({0xFE, 0xFF, 0x04, 0x3F}), u"п", 1},
            {"final CR LF gives an empty last line", "a\r\nb\r\n", u"a\r\nb\r\n", 3},
            {"lone breaks become CR LF", "a\nb\rc", u"a\r\nb\r\nc", 3},
            {"pure ASCII", "plain", u"plain", 1},
            {"empty file", "", u"", 0},
        };
        GuiFixture f;
        for (const Case& c : cases) {
            f.editor().ReplaceText(u"old text");
            QCOMPARE(Open(f, c.bytes), c.text);
            QVERIFY2(f.editor().LineCount() == c.lines, c.name);
        }
        QVERIFY(f.ui.errors.isEmpty());
    }

    void savedBytesRoundTripInBothEncodings() {
        struct Case {
            const char* name;
            QByteArray file;
            SaveEncoding encoding;
        } cases[] = {
            {"UTF-8, final CR LF", kPrivetUtf8 + "\r\nb\r\n", SaveEncoding::Utf8},
            {"ANSI, final CR LF", kPrivet1251 + "\r\nb\r\n", SaveEncoding::Ansi},
            {"UTF-8, no final break", kPrivetUtf8 + "\r\n\r\nz", SaveEncoding::Utf8},
            {"ANSI, empty", "", SaveEncoding::Ansi},
        };
        GuiFixture f;
        for (const Case& c : cases) {
            Open(f, c.file);
            QVERIFY2(Save(f, c.encoding) == c.file, c.name);
        }
        // The two lines "a" and "b": no mark, no final break.
        f.editor().ReplaceText(u"a\r\nb");
        QCOMPARE(Save(f, SaveEncoding::Utf8), Bytes({0x61, 0x0D, 0x0A, 0x62}));
        // What code page 1251 lacks is written as '?'.
        f.editor().ReplaceText(u"я€\U0001F600中");
        QCOMPARE(Save(f, SaveEncoding::Ansi), Bytes({0xFF, 0x88, '?', '?', '?'}));
        QVERIFY(f.ui.errors.isEmpty() && f.ui.messages.isEmpty());
    }

    void savingReplacesAnExistingFileWithoutAQuestion() {
        GuiFixture f;
        const QString path = f.folder.filePath("old.txt");
        WriteAll(path, QByteArray(10000, 'x'));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const auto permissions = QFile::permissions(path);
        f.editor().ReplaceText(u"new");
        QCOMPARE(Save(f, SaveEncoding::Utf8, "old.txt"), QByteArray("new"));
        QVERIFY(f.ui.messages.isEmpty() && f.ui.errors.isEmpty());
        // Its permissions stay; no temporary file is left beside it.
        QCOMPARE(QFile::permissions(path), permissions);
        QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList({"old.txt"}));
        // Through a symbolic link: the file it points to is replaced, the link stays.
        const QString link = f.folder.filePath("link.txt");
        QVERIFY(QFile::link(path, link));
        f.editor().ReplaceText(u"через ссылку");
        Save(f, SaveEncoding::Ansi, "link.txt");
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(ReadAll(path), QByteArray("\xF7\xE5\xF0\xE5\xE7 \xF1\xF1\xFB\xEB\xEA\xF3"));
    }

    void saveDialogKeepsTheEncodingAndTheFolder() {
        GuiFixture f;
        const QString start = QDir::currentPath();
        QTemporaryDir elsewhere;
        f.ui.files.whileShown = [&] { QDir::setCurrent(elsewhere.path()); };
        f.window().Trigger("N24");  // cancelled, with UTF-8 selected
        f.ui.files.selectEncoding = SaveEncoding::Utf8;
        f.window().Trigger("N24");
        QCOMPARE(f.ui.files.shownEncoding, std::optional(SaveEncoding::Ansi));
        QCOMPARE(QDir::currentPath(), start);
        f.window().Trigger("ToolButton38");
        QCOMPARE(f.ui.files.shownEncoding, std::optional(SaveEncoding::Utf8));  // remembered, also after a cancel
        QCOMPARE(f.ui.files.saveShown, 3);
        f.window().Trigger("ToolButton39");  // the open dialog, cancelled
        QCOMPARE(f.ui.files.openShown, 1);
        QCOMPARE(QDir::currentPath(), start);
    }

    void errorBoxesNameTheFileAndTheProblem() {
        GuiFixture f;
        f.editor().ReplaceText(u"kept");
        const QString missing = f.folder.filePath("missing.txt");
        f.ui.files.nextFile = missing;
        f.window().Trigger("N23");
        QDir(f.folder.path()).mkdir("folder");
        const QString folder = f.folder.filePath("folder");
        f.ui.files.nextFile = folder;
        f.window().Trigger("N23");
        QCOMPARE(f.ui.errors, QStringList({QString("Cannot open file \"%1\". No such file or directory").arg(missing),
                                           QString("Cannot open file \"%1\". Is a directory").arg(folder)}));
        QCOMPARE(f.editor().Text(), std::u16string(u"kept"));

        // A folder nobody may write in (as the superuser: one the system refuses to create files in).
        QString unwritable = f.folder.filePath("readonly");
        QString problem = "Permission denied";
        if (geteuid() == 0) {
            unwritable = "/proc";
        } else {
            QDir(f.folder.path()).mkdir("readonly");
            QFile::setPermissions(unwritable, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        f.ui.errors.clear();
        f.ui.files.nextFile = unwritable + "/out.txt";
        f.ui.files.selectEncoding = SaveEncoding::Ansi;
        f.window().Trigger("N24");
        QCOMPARE(f.ui.errors.size(), 1);
        QVERIFY2(f.ui.errors[0].startsWith(QString("Cannot create file \"%1/out.txt\". ").arg(unwritable)),
                 qPrintable(f.ui.errors[0]));
        if (geteuid() != 0) QVERIFY(f.ui.errors[0].endsWith(problem));
        f.ui.files.nextFile = unwritable + "/out.txt";
        f.ui.files.selectEncoding = SaveEncoding::Utf8;
        f.window().Trigger("N24");
        QCOMPARE(f.ui.messages, QStringList({"Неудалось создать файл"}));
        QCOMPARE(f.ui.errors.size(), 1);
        QVERIFY(!QFile::exists(unwritable + "/out.txt"));
    }

    void aSaveThatFailsWhileWritingLeavesTheOldFile() {
        GuiFixture f;
        const QString path = f.folder.filePath("keep.txt");
        const QByteArray old = "the old content";
        WriteAll(path, old);
        // Files this process writes may not grow beyond 1000 bytes: the write fails half-way.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 1000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        f.editor().ReplaceText(std::u16string(5000, u'ж'));
        Save(f, SaveEncoding::Utf8, "keep.txt");
        Save(f, SaveEncoding::Ansi, "keep.txt");
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(f.ui.messages, QStringList({"Неудалось создать файл"}));
        QCOMPARE(f.ui.errors, QStringList({QString("Cannot create file \"%1\". File too large").arg(path)}));
        QCOMPARE(ReadAll(path), old);
        QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList({"keep.txt"}));
    }

    void aHugeFileIsRefused() {
        GuiFixture f;
        const QString path = f.folder.filePath("huge.txt");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(400'000'000));  // sparse: takes no room
        }
        f.editor().ReplaceText(u"kept");
        f.ui.files.nextFile = path;
        f.window().Trigger("N23");
        QCOMPARE(f.ui.errors, QStringList({QString("Cannot open file \"%1\". File too large").arg(path)}));
        QCOMPARE(f.editor().Text(), std::u16string(u"kept"));
    }

    void countsFollowEditsOnly() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        f.editor().setFocus();
        QCOMPARE(f.window().statusPanel(0)->text(), QString());
        QTest::keyClicks(&f.editor(), "x");
        QCOMPARE(f.window().statusPanel(0)->text(), QString(" всего строк: 1"));
        QCOMPARE(f.window().statusPanel(1)->text(), QString(" всего символов: 1"));
        // Neither clearing, nor a load, nor a command changes them.
        f.window().Trigger("N31");
        QCOMPARE(f.editor().Text(), std::u16string());
        QVERIFY(!f.editor().isUndoAvailable());  // the editor's own typing history is gone too
        Open(f, "a\r\nbb\r\nccc");
        f.window().Trigger("ToolButton22");
        QCOMPARE(f.window().statusPanel(0)->text(), QString(" всего строк: 1"));
        QCOMPARE(f.window().statusPanel(1)->text(), QString(" всего символов: 1"));
        QTest::keyClick(&f.editor(), Qt::Key_End);
        QTest::keyClick(&f.editor(), Qt::Key_Return);
        QCOMPARE(f.window().statusPanel(0)->text(), QString(" всего строк: 4"));
        QCOMPARE(f.window().statusPanel(1)->text(), QString(" всего символов: 12"));
    }

    void textSetThroughAccessibilityHoldsLines() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&f.editor());
        QVERIFY(access && access->editableTextInterface());
        access->editableTextInterface()->insertText(0, QString::fromUtf8("ab\r\ncd\ne\xD1\x84\rgh"));
        QTRY_COMPARE(f.window().statusPanel(1)->text(), QString(" всего символов: 14"));
        QCOMPARE(f.window().statusPanel(0)->text(), QString(" всего строк: 4"));
        f.editor().Clear();
        access->editableTextInterface()->insertText(0, QString::fromUtf8("пере-\rнос"));
        f.window().Trigger("ToolButton27");  // "удаление лишних переносов"
        QCOMPARE(f.editor().Text(), std::u16string(u"перенос"));
    }

    void highlightingFollowsItsControls() {
        GuiFixture f;
        Editor& editor = f.editor();
        editor.ReplaceText(u"SELECT name FROM t;");
        auto styleOfFirstWord = [&] {
            editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
            return editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 1UL);
        };
        // At start: on, HTML, no item marked.
        QCOMPARE(f.window().ImageIndex("ToolButton37"), 34);
        QVERIFY(qobject_cast<QsciLexerHTML*>(editor.lexer()));
        for (auto item : Highlighting::kItems) QVERIFY(!f.window().IsMarked(item));

        f.window().Trigger("ToolButton37");
        QCOMPARE(f.window().ImageIndex("ToolButton37"), 25);
        f.window().Trigger("mysql1");
        QVERIFY(f.window().IsMarked("mysql1"));
        QVERIFY(!f.window().IsMarked("htm1") && !f.window().IsMarked("N25") && !f.window().IsMarked("css1"));
        QCOMPARE(editor.lexer(), nullptr);
        QCOMPARE(styleOfFirstWord(), 0L);  // uncoloured
        f.window().Trigger("ToolButton37");
        QCOMPARE(f.window().ImageIndex("ToolButton37"), 34);
        QVERIFY(qobject_cast<QsciLexerSQL*>(editor.lexer()));
        QCOMPARE(styleOfFirstWord(), long{QsciLexerSQL::Keyword});
        f.window().Trigger("N25");
        QVERIFY(f.window().IsMarked("N25") && !f.window().IsMarked("mysql1"));
        QCOMPARE(QString(editor.lexer()->lexer()), QString("phpscript"));

        // Loaded settings have the full effect: image and highlighters, mark and highlighter.
        WindowSettings& settings = f.window().settings();
        QVERIFY(settings.Assign(Setting::HighlightingEnabled, u"0"));
        QCOMPARE(f.window().ImageIndex("ToolButton37"), 25);
        QCOMPARE(editor.lexer(), nullptr);
        QVERIFY(settings.Assign(Setting::HighlighterChoice, u"2"));
        QVERIFY(f.window().IsMarked("css1"));
        QCOMPARE(editor.lexer(), nullptr);
        QVERIFY(settings.Assign(Setting::HighlightingEnabled, u"1"));
        QVERIFY(qobject_cast<QsciLexerCSS*>(editor.lexer()));
        QCOMPARE(settings.Value(Setting::HighlighterChoice), std::u16string(u"2"));
        // "0" unmarks every item; the highlighter in use stays.
        QVERIFY(settings.Assign(Setting::HighlighterChoice, u"0"));
        QVERIFY(qobject_cast<QsciLexerCSS*>(editor.lexer()));
        // The editor keeps its font whatever the highlighter.
        QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZE, 0UL), 10L);
    }

    // A large file is read and converted away from the window's thread: the window goes on handling
    // events meanwhile, with the editor and the text commands locked; saving it back does the same.
    void largeFilesOpenAndSaveWithTheWindowAnswering() {
        GuiFixture f;
        f.window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window()));
        // Lone LF breaks: every byte goes through the conversion to the editor's CR LF.
        const QByteArray line = "<p>" + kPrivetUtf8 + " line of a large file</p>\n";
        const int lineCount = 1'000'000;
        WriteAll(f.folder.filePath("large.htm"), line.repeated(lineCount));
        int ticks = 0;
        bool lockedMeanwhile = true;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
            ++ticks;
            lockedMeanwhile = lockedMeanwhile && f.editor().isReadOnly() && f.window().runner().Busy() &&
                              !f.window().action("ToolButton22")->isEnabled();
        });
        ticker.start(0);
        f.ui.files.nextFile = f.folder.filePath("large.htm");
        f.window().Trigger("N23");
        const int ticksWhileOpening = ticks;
        QVERIFY(ticksWhileOpening > 0);
        f.ui.files.nextFile = f.folder.filePath("saved.htm");
        f.ui.files.selectEncoding = SaveEncoding::Utf8;
        f.window().Trigger("N24");
        ticker.stop();
        QVERIFY(ticks > ticksWhileOpening);
        QVERIFY(lockedMeanwhile);
        QVERIFY(f.ui.errors.isEmpty());
        QCOMPARE(f.editor().LineCount(), size_t{lineCount + 1});
        QVERIFY(!f.editor().isReadOnly());
        QVERIFY(f.window().action("ToolButton22")->isEnabled());
        QByteArray expected = line;
        expected.replace("\n", "\r\n");
        QCOMPARE(ReadAll(f.folder.filePath("saved.htm")), expected.repeated(lineCount));
    }

    void droppedAndNamedFilesOpen() {
        GuiFixture f;
        f.window().show();
        const QString path = f.folder.filePath("dropped.htm");
        WriteAll(path, "<p>" + kPrivetUtf8 + "</p>\n");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QWidget* target = f.editor().viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QCOMPARE(f.editor().Text(), std::u16string(u"<p>привет</p>\r\n"));

        OpenDocumentFile(f.window(), f.folder.filePath("nothing.txt"));
        QCOMPARE(f.ui.errors.size(), 1);
        QVERIFY(f.ui.errors[0].startsWith("Cannot open file"));
        WriteAll(path, "named");
        OpenDocumentFile(f.window(), path);
        QCOMPARE(f.editor().Text(), std::u16string(u"named"));
    }
};

QTEST_MAIN(DocumentTest)
#include "document_test.moc"
