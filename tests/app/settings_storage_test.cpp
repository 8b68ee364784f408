// The settings files through the real windows: loading at the first show, writing at close, first
// start, and closing when the files cannot be written.
#include "app/settings/settings_storage.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>

#include "app/settings/function_settings_window.h"
#include "app/support/gui_fixture.h"
#include "core/encoding.h"
#include "settings/settings_files.h"

namespace vernalith::testing {
namespace {

void Put(const QString& folder, const char* name, const std::string& bytes) {
    QDir().mkpath(folder);
    QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QByteArray Get(const QString& folder, const char* name) {
    QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PutLists(const QString& folder) {
    Put(folder, "options1.txt", "one\r\n");
    Put(folder, "options2.txt", "a,b\r\n");
    Put(folder, "options3.txt", "");
}

QString TagHint(GuiFixture& f) { return f.window().action("ToolButton16")->toolTip(); }

bool Shown(GuiFixture& f, const char* bar) { return f.window().toolBar(bar)->isVisibleTo(&f.window()); }

}  // namespace

class SettingsStorageTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartWritesTheDefaultsAndLoadsWithoutError() {
        GuiFixture f;
        QVERIFY(!QDir(f.SettingsFolder()).exists());
        f.window().show();
        QCOMPARE(f.ui.errors, QStringList());
        for (const char* name : {"options1.txt", "options2.txt", "options3.txt", "options.ini", "options2.ini"}) {
            QVERIFY2(QFile::exists(QDir(f.SettingsFolder()).filePath(name)), name);
        }
        QCOMPARE(Get(f.SettingsFolder(), "options1.txt"), QByteArray("Memo1\r\n"));
        QCOMPARE(Get(f.SettingsFolder(), "options.ini").size(), 28);
        QCOMPARE(Get(f.SettingsFolder(), "options2.ini").size(), 4864);
        QVERIFY(TagHint(f).contains(QStringLiteral("<h2></h2> - F5")));
    }

    void existingEmptyFolderReportsTheFirstListFileAndKeepsTheDefaults() {
        GuiFixture f;
        QVERIFY(QDir().mkpath(f.SettingsFolder()));
        const QString designHint = TagHint(f);
        f.window().show();
        const QString path = QDir(f.SettingsFolder()).filePath(QStringLiteral("options1.txt"));
        QCOMPARE(f.ui.errors,
                 QStringList{QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(path)});
        QCOMPARE(f.window().settings().Value(Setting::RemoveList), u"Memo1");
        QCOMPARE(f.window().settings().Value(Setting::HighlightingEnabled), u"1");
        QVERIFY(!Shown(f, "ToolBar6"));
        QCOMPARE(TagHint(f), designHint);  // not rebuilt

        // Closing writes all five files; the next start loads them without an error.
        QVERIFY(f.window().close());
        QCOMPARE(Get(f.SettingsFolder(), "options1.txt"), QByteArray("Memo1\r\n"));
        auto again = CreateApplicationWindows(f.ui, f.random, f.SettingsFolder());
        f.ui.errors.clear();
        again->form1->show();
        QCOMPARE(f.ui.errors, QStringList());
    }

    void missingReplaceListFileLeavesThatListEmpty() {
        GuiFixture f;
        Put(f.SettingsFolder(), "options1.txt", "\xEF\xBB\xBF\xD1\x91\xD0\xB6\r\n");  // UTF-8 with a mark
        f.window().show();
        QCOMPARE(f.ui.errors.size(), 1);
        QVERIFY(f.ui.errors[0].endsWith(QStringLiteral("options2.txt\". No such file or directory")));
        QCOMPARE(f.window().settings().Value(Setting::RemoveList), u"ёж\r\n");
        QCOMPARE(f.window().settings().Value(Setting::ReplaceList), u"");
        QVERIFY(f.window().close());
        QCOMPARE(Get(f.SettingsFolder(), "options1.txt"), QByteArray("\xb8\xe6\r\n"));  // back in the code page
    }

    void optionsIniRecordsSetTheToolBarsMarksAndHighlighting() {
        GuiFixture f;
        PutLists(f.SettingsFolder());
        Put(f.SettingsFolder(), "options.ini", EncodeIntegerRecords({1, 0, 1, 0, 3, 1, 2}));
        const QString designHint = TagHint(f);
        f.window().show();
        QCOMPARE(f.ui.errors, QStringList());  // a missing options2.ini stops silently
        MainWindow& w = f.window();
        QVERIFY(Shown(f, "ToolBar6"));
        QVERIFY(!Shown(f, "ToolBar7"));
        QVERIFY(Shown(f, "ToolBar8"));
        QCOMPARE(w.ImageIndex("ToolButton15"), 7);
        QCOMPARE(w.ImageIndex("ToolButton53"), 36);
        QVERIFY(!w.IsMarked("N33"));
        QVERIFY(w.IsMarked("H31"));
        QVERIFY(!w.IsMarked("H21") && !w.IsMarked("H41"));
        QCOMPARE(w.ImageIndex("ToolButton37"), 34);
        QVERIFY(w.IsMarked("css1"));
        QVERIFY(!w.IsMarked("N25"));
        QCOMPARE(TagHint(f), designHint);
        QCOMPARE(w.settings().Value(Setting::RemoveList), u"one\r\n");
    }

    void outOfRangeRecordsSelectTheOtherValueEffect() {
        GuiFixture f;
        PutLists(f.SettingsFolder());
        Put(f.SettingsFolder(), "options.ini", EncodeIntegerRecords({7, -1, 2, 9, 6, 0, 5}));
        f.window().show();
        MainWindow& w = f.window();
        QVERIFY(!Shown(f, "ToolBar6") && !Shown(f, "ToolBar7") && !Shown(f, "ToolBar8"));
        QVERIFY(!w.IsMarked("N33"));
        for (const char* item : {"H1", "H21", "H31", "H41", "H51", "N25", "css1", "htm1", "mysql1"}) {
            QVERIFY2(!w.IsMarked(item), item);
        }
        QCOMPARE(w.ImageIndex("ToolButton37"), 25);  // record 6 = 0 turns highlighting off
    }

    void shortOptions2IniLoadsTheWholeRecordsAndReports() {
        GuiFixture f;
        PutLists(f.SettingsFolder());
        Put(f.SettingsFolder(), "options.ini", EncodeIntegerRecords({0, 0, 0, 0, 0, 1, 0}));
        std::vector<std::u16string> texts(kOptions2IniRecords, u"x");
        texts[17] = u"[сн";
        texts[18] = u"]";
        Put(f.SettingsFolder(), "options2.ini", EncodeTextRecords(texts).substr(0, 4863));
        const QString designHint = TagHint(f);
        f.window().show();
        QCOMPARE(f.ui.errors, QStringList{QStringLiteral("Read beyond end of file")});
        QCOMPARE(f.window().settings().Value(Setting::FootnoteStart), u"[сн");
        QCOMPARE(f.window().settings().Value(Setting::FootnoteEnd), u")");
        QCOMPARE(TagHint(f), designHint);
    }

    void changesComeBackAfterARestart() {
        GuiFixture f;
        QVERIFY(f.ShowActive());
        MainWindow& w = f.window();
        // A field typed into, a menu mark, a tool bar, a heading level and a list with a character
        // the code page lacks.
        auto* prefix = f.windows->form6->findChild<QLineEdit*>("LinePrefix");
        QTest::keyClicks(prefix, "- ");
        w.action("N33")->trigger();
        w.action("ToolButton21")->trigger();
        w.settings().Assign(Setting::HeadingLevel, u"5");
        w.settings().Assign(Setting::ReplaceList, u"α,альфа\r\n");
        QVERIFY(w.close());
        QCOMPARE(f.ui.errors, QStringList());
        QCOMPARE(DecodeIntegerRecords(Get(f.SettingsFolder(), "options.ini").toStdString()),
                 (std::vector<int32_t>{0, 1, 0, 1, 5, 1, 0}));

        auto again = CreateApplicationWindows(f.ui, f.random, f.SettingsFolder());
        MainWindow& w2 = *again->form1;
        w2.show();
        QCOMPARE(f.ui.errors, QStringList());
        QCOMPARE(again->form6->findChild<QLineEdit*>("LinePrefix")->text(), QStringLiteral("- "));
        QVERIFY(w2.IsMarked("N33"));
        QVERIFY(w2.toolBar("ToolBar7")->isVisibleTo(&w2));
        QCOMPARE(w2.ImageIndex("ToolButton21"), 12);
        QVERIFY(w2.IsMarked("H51"));
        QCOMPARE(w2.settings().Value(Setting::ReplaceList), u"α,альфа\r\n");
    }

    void anUnwritableFolderKeepsTheWindowOpenOnceOnly() {
        GuiFixture f;
        f.window().show();
        const QString folder = f.SettingsFolder();
        const QByteArray before = Get(folder, "options2.txt");
        // options1.txt cannot be written when a folder stands in its place.
        QVERIFY(QFile::remove(QDir(folder).filePath("options1.txt")));
        QVERIFY(QDir(folder).mkdir("options1.txt"));
        f.window().settings().Assign(Setting::ReplaceList, u"new\r\n");

        QVERIFY(!f.window().close());
        QVERIFY(f.window().isVisible());
        const QString path = QDir(folder).filePath(QStringLiteral("options1.txt"));
        QCOMPARE(f.ui.errors, QStringList{QStringLiteral("Cannot create file \"%1\". Is a directory").arg(path)});
        QCOMPARE(Get(folder, "options2.txt"), before);  // the files after it are not written

        QVERIFY(f.window().close());  // the second close in a row ends the program
        QVERIFY(!f.window().isVisible());
        QCOMPARE(f.ui.errors.size(), 2);
    }

    void defaultFolderFollowsTheConfigurationHome() {
        QTemporaryDir home;
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        QCOMPARE(DefaultSettingsFolder(), home.filePath(QStringLiteral("vernalith")));
        if (previous.isNull()) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", previous);
        }
    }
};

}  // namespace vernalith::testing

QTEST_MAIN(vernalith::testing::SettingsStorageTest)
#include "settings_storage_test.moc"
