#include "settings/settings_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/encoding.h"
#include "core/line_list.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::u16string>;

// A fresh, empty settings folder of its own for each test.
class SettingsFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vernalith-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Path(const char* name) const { return (fs::path(folder) / name).string(); }
    void Put(const char* name, std::string_view bytes) const { std::ofstream(Path(name), std::ios::binary) << bytes; }
    std::string Get(const char* name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // The three list files, so that loading goes on to the record files.
    void PutLists() const {
        Put("options1.txt", "a\r\n");
        Put("options2.txt", "b\r\n");
        Put("options3.txt", "");
    }
    // The settings' values once the loaded values have been put in, in order.
    std::map<Setting, std::u16string> Loaded(const SettingsFolderContents& contents) const {
        std::map<Setting, std::u16string> values;
        for (const auto& [setting, value] : contents.values) values[setting] = value;
        return values;
    }

    std::string folder;
};

TEST(TextLinesFormat, ReadsMarksCodePageBreaksAndZero) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"ANSI with every kind of break", "\xcf\xf0\xe8\r\nb\rc\nd", {u"При", u"b", u"c", u"d"}},
        {"final break gives no empty line; inner empty lines stay", "a\r\n\r\n\nb\r\n", {u"a", u"", u"", u"b"}},
        {"UTF-8 mark", "\xEF\xBB\xBF\xD0\x81\xE2\x82\xAC\r\nx", {u"Ё€", u"x"}},
        {"UTF-16 LE mark", std::string("\xFF\xFE\x01\x04\r\0\n\0z\0", 10), {u"Ё", u"z"}},
        {"UTF-16 BE mark", std::string("\xFE\xFF\x04\x01\0\n\0z", 8), {u"Ё", u"z"}},
        {"text ends at its first U+0000", std::string("a\r\nb\0c\r\nd", 9), {u"a", u"b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeTextLines(c.bytes), c.lines) << c.name;
}

TEST(TextLinesFormat, WritesAnsiWithCrLfAndUtf8OnlyWhenTheCodePageLacksACharacter) {
    EXPECT_EQ(EncodeTextLines({}), "");
    EXPECT_EQ(EncodeTextLines({u"При", u"", u"x?"}), "\xcf\xf0\xe8\r\n\r\nx?\r\n");
    const Lines wide = {u"ä→ü", u"При"};
    EXPECT_EQ(EncodeTextLines(wide), "\xEF\xBB\xBF" + EncodeUtf8(u"ä→ü\r\nПри\r\n"));
    EXPECT_EQ(DecodeTextLines(EncodeTextLines(wide)), wide);
}

TEST(RecordFormats, IntegersAreLittleEndianAndTextsAreCutTo255Bytes) {
    EXPECT_EQ(EncodeIntegerRecords({1, -1, 0x01020304}), std::string("\1\0\0\0\xFF\xFF\xFF\xFF\4\3\2\1", 12));
    EXPECT_EQ(DecodeIntegerRecords(std::string("\5\0\0\0\xFE\xFF\xFF\xFF\1", 9)), (std::vector<int32_t>{5, -2}));

    const std::string records = EncodeTextRecords({u"Ёж", std::u16string(300, u'я'), u"a→"});
    ASSERT_EQ(records.size(), 3 * kTextRecordSize);
    EXPECT_EQ(records.substr(0, 3), "\2\xa8\xe6");
    EXPECT_EQ(records[3], '\0');  // padding
    EXPECT_EQ(static_cast<unsigned char>(records[256]), 255);
    EXPECT_EQ(DecodeTextRecords(records), (Lines{u"Ёж", std::u16string(255, u'я'), u"a?"}));
    EXPECT_EQ(DecodeTextRecords(records.substr(0, 2 * kTextRecordSize + 255)).size(), 2u);
}

TEST_F(SettingsFolder, NoFilesAtAllReportsTheFirstListFile) {
    const SettingsFolderContents contents = LoadSettingsFolder(folder);
    ASSERT_TRUE(contents.error);
    EXPECT_EQ(contents.error->Message(),
              "Cannot open file \"" + Path("options1.txt") + "\". No such file or directory");
    EXPECT_TRUE(contents.values.empty());
    EXPECT_FALSE(contents.listsRead);
    EXPECT_FALSE(contents.complete);
}

TEST_F(SettingsFolder, MissingReplaceListFileEmptiesThatListAndStops) {
    Put("options1.txt", "\xEF\xBB\xBF\xD1\x91\xD0\xB6\r\nx");  // UTF-8 with a mark, as another program saves it
    Put("options.ini", EncodeIntegerRecords({1, 1, 1, 1, 1, 1, 1}));
    const SettingsFolderContents contents = LoadSettingsFolder(folder);
    ASSERT_TRUE(contents.error);
    EXPECT_EQ(contents.error->Message(),
              "Cannot open file \"" + Path("options2.txt") + "\". No such file or directory");
    using Values = std::vector<std::pair<Setting, std::u16string>>;
    EXPECT_EQ(contents.values, (Values{{Setting::RemoveList, u"ёж\r\nx\r\n"}, {Setting::ReplaceList, u""}}));
}

TEST_F(SettingsFolder, OptionsIniRecordsBecomeTheirSettingsValues) {
    PutLists();
    Put("options.ini", EncodeIntegerRecords({1, 0, 1, 0, 3, 1, 2}));
    const SettingsFolderContents contents = LoadSettingsFolder(folder);
    EXPECT_TRUE(contents.listsRead);
    EXPECT_FALSE(contents.error);  // options2.ini is missing: that stops silently
    EXPECT_FALSE(contents.complete);
    auto values = Loaded(contents);
    EXPECT_EQ(values[Setting::ToolBar6Shown], u"1");
    EXPECT_EQ(values[Setting::ToolBar7Shown], u"0");
    EXPECT_EQ(values[Setting::ToolBar8Shown], u"1");
    EXPECT_EQ(values[Setting::DuplicateHeading], u"0");
    EXPECT_EQ(values[Setting::HeadingLevel], u"3");
    EXPECT_EQ(values[Setting::HighlightingEnabled], u"1");
    EXPECT_EQ(values[Setting::HighlighterChoice], u"2");
    EXPECT_FALSE(values.contains(Setting::HotkeyTagOpenF5));
}

TEST_F(SettingsFolder, ShortRecordFilesStopAtTheFirstIncompleteRecord) {
    PutLists();
    Put("options.ini", EncodeIntegerRecords({1, 0, 1, 0, 3, 1, 2}));
    std::vector<std::u16string> texts;
    for (int i = 1; i <= kOptions2IniRecords; ++i) texts.push_back(u"r" + std::u16string(1, char16_t(u'a' + i)));
    Put("options2.ini", EncodeTextRecords(texts).substr(0, 4863));
    SettingsFolderContents contents = LoadSettingsFolder(folder);
    ASSERT_TRUE(contents.error);
    EXPECT_EQ(contents.error->Message(), "Read beyond end of file");
    auto values = Loaded(contents);
    EXPECT_EQ(values[Setting::FootnoteStart], texts[17]);
    EXPECT_FALSE(values.contains(Setting::FootnoteEnd));
    EXPECT_FALSE(contents.complete);

    Put("options.ini", EncodeIntegerRecords({1, 0, 1, 0, 3}) + "\1\0");
    contents = LoadSettingsFolder(folder);
    ASSERT_TRUE(contents.error);
    EXPECT_EQ(contents.error->Message(), "Read beyond end of file");
    values = Loaded(contents);
    EXPECT_EQ(values[Setting::HeadingLevel], u"3");
    EXPECT_FALSE(values.contains(Setting::HighlightingEnabled));
}

TEST_F(SettingsFolder, EverySettingSurvivesSaveAndLoad) {
    SettingValues saved;
    for (const SettingInfo& info : SettingsTable()) {
        if (info.file == SettingsFile::OptionsIni) {
            saved.Set(info.id, info.record % 2 ? u"1" : u"4");
        } else {
            const std::string name(info.name);
            saved.Set(info.id, u"Ж " + std::u16string(name.begin(), name.end()) +
                                   (info.record == 0 ? u"\r\n\r\nвторая\r\n" : u""));
        }
    }
    saved.Set(Setting::ReplaceList, u"α,альфа\r\n€,евро\r\n");  // α is not in code page 1251; € is
    ASSERT_FALSE(SaveSettingsFolder(folder, saved));
    EXPECT_EQ(Get("options1.txt"), EncodeCp1251(saved.Value(Setting::RemoveList)));
    EXPECT_EQ(Get("options.ini").size(), 28u);
    EXPECT_EQ(Get("options2.ini").size(), 4864u);

    const SettingsFolderContents contents = LoadSettingsFolder(folder);
    EXPECT_FALSE(contents.error);
    EXPECT_TRUE(contents.complete);
    const auto values = Loaded(contents);
    for (const SettingInfo& info : SettingsTable()) {
        EXPECT_EQ(values.at(info.id), saved.Value(info.id)) << info.name;
    }
    // Nothing but the five files is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 5);
}

TEST_F(SettingsFolder, RecordsAreWrittenAsTheFormatsSay) {
    SettingValues saved;
    saved.Set(Setting::HeadingLevel, u"5");
    saved.Set(Setting::ToolBar7Shown, u"1");
    saved.Set(Setting::HighlighterChoice, u"not a number");
    saved.Set(Setting::LinePrefix, std::u16string(300, u'ж'));
    saved.Set(Setting::FootnoteEnd, u"→)");
    ASSERT_FALSE(SaveSettingsFolder(folder, saved));
    EXPECT_EQ(DecodeIntegerRecords(Get("options.ini")), (std::vector<int32_t>{0, 1, 0, 0, 5, 1, 0}));
    const std::string records = Get("options2.ini");
    EXPECT_EQ(records.substr(15 * 256, 256), "\xFF" + std::string(255, '\xe6'));
    EXPECT_EQ(records.substr(18 * 256, 3), "\2?)");

    saved.Set(Setting::HeadingLevel, u"0");
    ASSERT_FALSE(SaveSettingsFolder(folder, saved));
    EXPECT_EQ(DecodeIntegerRecords(Get("options.ini"))[4], 0);
}

// Writing fails as a full disk does: the process may not make files larger than a few bytes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous_); }

private:
    rlimit previous_{};
};

TEST_F(SettingsFolder, AFailedWriteLeavesThePreviousFileAsItWas) {
    SettingValues before;
    before.Set(Setting::RemoveList, u"old");
    ASSERT_FALSE(SaveSettingsFolder(folder, before));
    std::map<std::string, std::string> previous;
    for (const char* name : {"options1.txt", "options2.txt", "options3.txt", "options.ini", "options2.ini"}) {
        previous[name] = Get(name);
    }

    SettingValues after;
    after.Set(Setting::RemoveList, std::u16string(5000, u'x'));
    after.Set(Setting::LineSuffix, u"new");
    std::optional<SettingsFileError> error;
    {
        FileSizeLimit limit(1000);
        error = SaveSettingsFolder(folder, after);
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Message(), "Cannot create file \"" + Path("options1.txt") + "\". File too large");
    for (const auto& [name, bytes] : previous) EXPECT_EQ(Get(name.c_str()), bytes) << name;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 5);

    // A record file that cannot be written is skipped silently, and it too keeps its old bytes.
    after.Set(Setting::RemoveList, u"short");
    {
        FileSizeLimit limit(1000);
        error = SaveSettingsFolder(folder, after);
    }
    EXPECT_FALSE(error);
    EXPECT_EQ(Get("options1.txt"), "short\r\n");
    EXPECT_EQ(Get("options2.ini"), previous["options2.ini"]);
}

TEST_F(SettingsFolder, WritingKeepsLinksAndPermissions) {
    const std::string real = Path("real.txt");
    Put("real.txt", "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, Path("options1.txt"));
    ASSERT_FALSE(WriteFileAtomically(Path("options1.txt"), "new"));
    EXPECT_TRUE(fs::is_symlink(Path("options1.txt")));
    EXPECT_EQ(Get("real.txt"), "new");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const auto missingFolder = WriteFileAtomically(Path("no-such-folder/options1.txt"), "x");
    ASSERT_TRUE(missingFolder);
    EXPECT_EQ(*missingFolder, "No such file or directory");
}

}  // namespace
}  // namespace vernalith
