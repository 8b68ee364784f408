#include "cli/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "automatic/procedure_table.h"
#include "core/byte_io.h"
#include "core/encoding.h"
#include "settings/settings_files.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

// An unnamed temporary file holding `content`, read from its start.
int TemporaryFd(const std::string& content = "") {
    FILE* file = std::tmpfile();
    const int fd = ::dup(fileno(file));
    std::fclose(file);
    EXPECT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

std::string ReadBack(int fd) {
    std::string text;
    ::lseek(fd, 0, SEEK_SET);
    char buffer[65536];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(got));
    ::close(fd);
    return text;
}

Result RunCli(std::vector<std::string> args, const std::string& input = "", bool terminal = false) {
    const int in = TemporaryFd(input), out = TemporaryFd(), err = TemporaryFd();
    const int code = RunCommandLine(args, in, out, err, terminal);
    ::close(in);
    return {code, ReadBack(out), ReadBack(err)};
}

std::string FileContent(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// A fresh folder for the files of one test, removed afterwards.
class CliFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vernalith_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
        std::filesystem::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    // The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path dir_;
};

TEST(CommandLine, RemovesExtraSpacesByNameAndByCaption) {
    const std::string input = "   Это  текст ,  в котором  много пробелов .";
    EXPECT_EQ(RunCli({"RemoveExtraSpaces"}, input).out, "Это текст, в котором много пробелов.");
    EXPECT_EQ(RunCli({"удаление лишних пробелов"}, input).out, "Это текст, в котором много пробелов.");
}

TEST(CommandLine, ProceduresRunInOrderThroughTheEditorModel) {
    // Lone LF and CR become CR LF on the way in; RemoveEmptyLines ends every line with CR LF, and the
    // editor shows the final break as an empty last line, which reads back as the same text.
    const Result r = RunCli({"RemoveExtraSpaces", "RemoveEmptyLines"}, "a  b\n\n  \rc");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "a b\r\nc\r\n");
    EXPECT_EQ(RunCli({"--eol", "lf", "RemoveEmptyLines"}, "a\r\n\r\nb").out, "a\nb\n");
    EXPECT_EQ(RunCli({"--raw-text", "RemoveExtraSpaces"}, "a\n  b\r  c").out, "a\nb\r c");
}

TEST(CommandLine, Encodings) {
    EXPECT_EQ(RunCli({"RemoveExtraSpaces"}, "\xDD\xF2\xEE  \xF2\xE5\xEA\xF1\xF2").out, "Это текст");  // cp1251 input
    EXPECT_EQ(RunCli({"--out-encoding", "cp1251", "RemoveExtraSpaces"}, "Это  текст").out,
              "\xDD\xF2\xEE \xF2\xE5\xEA\xF1\xF2");
    EXPECT_EQ(RunCli({"--in-encoding", "utf-16le", "RemoveExtraSpaces"}, std::string("a\0 \0 \0b\0", 8)).out, "a b");
    EXPECT_EQ(RunCli({"--out-encoding", "utf-16le", "RemoveExtraSpaces"}, "Я").out, std::string("\x2F\x04", 2));
    EXPECT_EQ(RunCli({"RemoveExtraSpaces"}, "\xEF\xBB\xBFx  y").out, "x y");  // the mark is not part of the text
}

TEST(CommandLine, CapitalizesSentences) {
    const Result r = RunCli({"CapitalizeSentences"}, "это первое. это второе! а это? нет\r\nновая строка");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Это первое. Это второе! А это? Нет\r\nНовая строка");
}

TEST(CommandLine, ListProceduresTakeTheirListsFromSet) {
    EXPECT_EQ(RunCli({"--set", "ReplaceList=кот=>пёс", "--set", "ReplaceSeparator==>", "замена указанных символов"},
                     "кот и кот, Кот")
                  .out,
              "пёс и пёс, Кот");
    EXPECT_EQ(RunCli({"--set", "RemoveList=и\nМ", "RemoveListedCharacters"}, "Привет, мир!").out, "Првет, р!");
    // The default lists: "Memo1" is removed; "Memo2" has no separator and is passed over.
    EXPECT_EQ(RunCli({"RemoveListedCharacters", "ReplaceListedCharacters"}, "a memo1 Memo2 b").out, "a  Memo2 b");
}

TEST(CommandLine, BadUsageExitsWithTwoAndOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"NoSuchProcedure"},
        {"--set", "NoSuchSetting=1", "RemoveExtraSpaces"},
        {"--set", "LinePrefix", "RemoveExtraSpaces"},
        {"--in-encoding", "koi8", "RemoveExtraSpaces"},
        {"--eol", "cr", "RemoveExtraSpaces"},
        {"--bogus", "RemoveExtraSpaces"},
        {"RemoveExtraSpaces", "NoSuchProcedure", "input.txt"},
    };
    for (const auto& args : bad) {
        const Result r = RunCli(args, "x");
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CommandLine, ReportsFollowTheLineBreaksOfTheResult) {
    // The tag count message as the box shows it, its lines (ended by LF CR there) ended by CR LF or LF.
    EXPECT_EQ(RunCli({"CountTags"}, "<H1>a</h1>\n<h2><h4>").out, "<h1> - 1\r\n<h2> - 1\r\n<h3> - 0\r\n<h4> - 1\r\n");
    EXPECT_EQ(RunCli({"--eol", "lf", "CountTags"}, "<H1>a</h1>\n<h2><h4>").out,
              "<h1> - 1\n<h2> - 1\n<h3> - 0\n<h4> - 1\n");
    EXPECT_EQ(RunCli({"--raw-text", "CountTags"}, "<h2>").out, "<h1> - 0\n\r<h2> - 1\n\r<h3> - 0\n\r<h4> - 0\n\r");
    EXPECT_EQ(RunCli({"--set", "CustomCountTag=P", "CountTags"}, "Pp p").out,
              "<h1> - 0\r\n<h2> - 0\r\n<h3> - 0\r\np - 3\r\n");
    // Text information: the labels, then the word list, one a line; the input's lone LF became CR LF.
    EXPECT_EQ(RunCli({"TextInfo"}, "дом и сад\nдом").out,
              "всего символов 14\r\nсимволов без пробелов 12\r\nдом - 2\r\nсад - 1\r\n");
    EXPECT_EQ(RunCli({"--eol", "lf", "TextInfo"}, "дом и сад\nдом").out,
              "всего символов 14\nсимволов без пробелов 12\nдом - 2\nсад - 1\n");
    const Result empty = RunCli({"TextInfo"}, "");
    EXPECT_EQ(empty.code, 0);
    EXPECT_EQ(empty.out, "Поле для ввода текста пустое, пожалуйста вставьте текст.\r\n");
}

TEST(CommandLine, ListNamesEveryProcedureWithItsCaption) {
    const Result r = RunCli({"--list"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("RemoveExtraSpaces\tудаление лишних пробелов\n"), std::string::npos);
    EXPECT_NE(r.out.find("RemoveEmptyLines\tудаление пустых строк\n"), std::string::npos);
}

TEST(CommandLine, MarkupProcedures) {
    EXPECT_EQ(RunCli({"StripHtmlTags"}, "a<b>c</b>d").out, "acd");
    EXPECT_EQ(RunCli({"удаление html тегов"}, "<p>Текст</p>").out, "Текст");
    EXPECT_EQ(RunCli({"простановка тегов абзацев <p></p>"}, "a\r\n\r\nb").out, "<p>a</p>\r\n\r\n<p>b</p>\r\n");
}

TEST(CommandLine, SplitIntoArticlesWithFixedLengthsIsExact) {
    // --raw-text keeps the line feeds the split puts in; the editor model would turn them into CR LF.
    const Result r =
        RunCli({"--raw-text", "--set", "ArticleMinChars=40", "--set", "ArticleMaxChars=40", "SplitIntoArticles"},
               "Заголовок\r\nАбзац один.\r\nАбзац два.\r\nАбзац три. Ещё.Конец");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "<h1>Заголовок</h1>\nЗаголовок\r\nАбзац один.\r\n\n<h1>Абзац два</h1>\nАбзац два.\r\n"
              "Абзац три. Ещё.\n<h1>Конец</h1>\nКонец");
}

TEST(CommandLine, SplitIntoArticlesRepeatsWithTheSameSeed) {
    std::string text;
    for (int i = 0; i < 400; ++i) text += "Предложение номер " + std::to_string(i) + " о разбивке текста.\r\n";
    auto split = [&](const char* seed) {
        return RunCli({"--seed", seed, "--set", "ArticleMinChars=300", "--set", "ArticleMaxChars=900",
                       "авторазбивка статей (простановка тегов заголовка)"},
                      text)
            .out;
    };
    const std::string first = split("5");
    EXPECT_EQ(split("5"), first);
    EXPECT_NE(split("6"), first);
    size_t headings = 0;
    for (size_t at = first.find("<h1>"); at != std::string::npos; at = first.find("<h1>", at + 1)) ++headings;
    EXPECT_GT(headings, 15u);
}

TEST(CommandLine, SplitSettingsThatAreNotWholeNumbersFail) {
    const Result r = RunCli({"--set", "ArticleMaxChars=17OO", "SplitIntoArticles"}, "Текст");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "vernalith-cli: ''17OO'' is not a valid integer value.\n");
    EXPECT_TRUE(r.out.empty());
    const Result bad = RunCli({"--set", "ArticleMinChars=0", "SplitIntoArticles"}, "Текст");
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("ArticleMinChars"), std::string::npos);
}

TEST_F(CliFiles, ResultReplacesTheFileOnlyWhenWrittenWhole) {
    WriteFile(Path("in.txt"), "a  b");
    WriteFile(Path("out.txt"), "old");
    ::chmod(Path("out.txt").c_str(), 0640);
    // The name the tool once used for its temporary file is left alone, even as a link to another file.
    WriteFile(Path("victim.txt"), "keep");
    std::filesystem::create_symlink("victim.txt", Path("out.txt.part"));

    const Result r = RunCli({"-o", Path("out.txt"), "RemoveExtraSpaces", Path("in.txt")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(FileContent(Path("out.txt")), "a b");
    EXPECT_EQ(std::filesystem::status(Path("out.txt")).permissions(), static_cast<std::filesystem::perms>(0640));
    EXPECT_EQ(FileContent(Path("victim.txt")), "keep");
    EXPECT_TRUE(std::filesystem::is_symlink(Path("out.txt.part")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"in.txt", "out.txt", "out.txt.part", "victim.txt"}));

    // A procedure that fails leaves the old file and no temporary file behind.
    const Result failed = RunCli({"--set", "ArticleMinChars=0", "-o", Path("out.txt"), "SplitIntoArticles"}, "x");
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(FileContent(Path("out.txt")), "a b");
    EXPECT_EQ(Names().size(), 4u);

    // The input may be the output; "-o -" is standard output.
    EXPECT_EQ(RunCli({"-o", Path("in.txt"), "RemoveExtraSpaces", Path("in.txt")}).code, 0);
    EXPECT_EQ(FileContent(Path("in.txt")), "a b");
    EXPECT_EQ(RunCli({"-o", "-", "RemoveExtraSpaces"}, "x  y").out, "x y");
}

TEST_F(CliFiles, StoppedBySignalLeavesNoTemporaryFile) {
    WriteFile(Path("out.txt"), "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // stopped while the result is being written
        SafeOutputFile file(Path("out.txt"));
        file.Write("partial");
        ::raise(SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(FileContent(Path("out.txt")), "old");
    EXPECT_EQ(Names(), std::vector<std::string>{"out.txt"});
}

TEST_F(CliFiles, SymbolicLinkStaysAndItsFileIsReplaced) {
    std::filesystem::create_directories(Path("real"));
    WriteFile(Path("real/target.txt"), "old");
    std::filesystem::create_symlink("real/target.txt", Path("link.txt"));
    const Result r = RunCli({"-o", Path("link.txt"), "RemoveExtraSpaces"}, "a  b");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.txt")));
    EXPECT_EQ(FileContent(Path("real/target.txt")), "a b");
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.txt", "real"}));
}

TEST_F(CliFiles, ReadOnlyFileIsTreatedAsTheShellTreatsIt) {
    WriteFile(Path("ro.txt"), "old");
    ::chmod(Path("ro.txt").c_str(), 0444);
    const Result r = RunCli({"-o", Path("ro.txt"), "RemoveExtraSpaces"}, "a  b");
    if (::geteuid() == 0) {  // root may write any file: it is replaced and stays read-only
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(FileContent(Path("ro.txt")), "a b");
    } else {
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, "vernalith-cli: cannot write '" + Path("ro.txt") + "': Permission denied\n");
        EXPECT_EQ(FileContent(Path("ro.txt")), "old");
    }
    EXPECT_EQ(std::filesystem::status(Path("ro.txt")).permissions(), static_cast<std::filesystem::perms>(0444));
    EXPECT_EQ(Names(), std::vector<std::string>{"ro.txt"});
}

TEST_F(CliFiles, FifoIsWrittenStraightInto) {
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = FileContent(Path("pipe")); });
    const Result r = RunCli({"-o", Path("pipe"), "RemoveExtraSpaces"}, "a  b");
    reader.join();
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(received, "a b");
    EXPECT_TRUE(std::filesystem::is_fifo(Path("pipe")));
    EXPECT_EQ(Names(), std::vector<std::string>{"pipe"});
}

TEST_F(CliFiles, FailuresNameTheFileAndTheSystemsReason) {
    const std::string missing = Path("no/such/out.txt");
    const Result folder = RunCli({"-o", missing, "RemoveExtraSpaces"}, "x");
    EXPECT_EQ(folder.code, 1);
    EXPECT_EQ(folder.err, "vernalith-cli: cannot write '" + missing + "': No such file or directory\n");
    EXPECT_TRUE(Names().empty());

    const Result directory = RunCli({"RemoveExtraSpaces", dir_.string()});
    EXPECT_EQ(directory.code, 1);
    EXPECT_EQ(directory.err, "vernalith-cli: cannot read '" + dir_.string() + "': Is a directory\n");

    const Result full = RunCli({"-o", "/dev/full", "RemoveExtraSpaces"}, "x");
    EXPECT_EQ(full.code, 1);
    EXPECT_EQ(full.err, "vernalith-cli: cannot write '/dev/full': No space left on device\n");

    const Result setFile = RunCli({"--set-file", "RemoveList=" + Path("none.txt"), "RemoveListedCharacters"}, "x");
    EXPECT_EQ(setFile.code, 1);
    EXPECT_EQ(setFile.err, "vernalith-cli: cannot read '" + Path("none.txt") + "': No such file or directory\n");
}

TEST_F(CliFiles, OptionsEndAtTwoDashesAndTakeTheirValueAfterAnEqualsSign) {
    WriteFile(Path("-dash.txt"), "a\n\nb");
    const Result r = RunCli({"--eol=lf", "--out-encoding=cp1251", "--", "RemoveEmptyLines", Path("-dash.txt")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "a\nb\n");
    EXPECT_EQ(RunCli({"--", "--help"}).code, 2);  // after "--" it is a word, and no procedure
}

TEST_F(CliFiles, SetFileIsReadAsSettingsFilesAre) {
    WriteFile(Path("cp1251.txt"), "\xEC");                             // "м" in cp1251
    WriteFile(Path("utf16.txt"), std::string("\xFF\xFE\x38\x04", 4));  // "и" in UTF-16 with its mark
    const Result r = RunCli({"--set-file", "RemoveList=" + Path("cp1251.txt"), "RemoveListedCharacters"}, "мир");
    EXPECT_EQ(r.out, "ир");
    EXPECT_EQ(RunCli({"--set-file=RemoveList=" + Path("utf16.txt"), "RemoveListedCharacters"}, "мир").out, "мр");
}

TEST(CommandLine, EncodingNamesIgnoreLetterCase) {
    for (const char* name : {"UTF-8", "Utf8", "CP1251", "windows-1251", "Windows-1251"}) {
        const Result r = RunCli({"--in-encoding", name, "--out-encoding", name, "RemoveExtraSpaces"}, "ab  c");
        EXPECT_EQ(r.code, 0) << name << r.err;
        EXPECT_EQ(r.out, "ab c") << name;
    }
    EXPECT_EQ(RunCli({"--out-encoding", "UTF-16BE", "RemoveExtraSpaces"}, "Я").out, std::string("\x04\x2F", 2));
    const Result autoOut = RunCli({"--out-encoding", "auto", "RemoveExtraSpaces"}, "x");
    EXPECT_EQ(autoOut.code, 2);
    EXPECT_NE(autoOut.err.find("--out-encoding"), std::string::npos);
}

TEST(CommandLine, NothingIsLostSilently) {
    // Characters cp1251 lacks: one '?' per character (the pair of U+1F600 included), counted, the
    // first one placed.
    const Result lossy =
        RunCli({"--out-encoding", "cp1251", "RemoveExtraSpaces"}, "Я\nа \xF0\x9F\x98\x80 \xE2\x98\xBA");
    EXPECT_EQ(lossy.code, 0);
    EXPECT_EQ(lossy.out, "\xDF\r\n\xE0 ? ?");
    EXPECT_EQ(lossy.err,
              "vernalith-cli: 2 characters that cp1251 lacks written as '?' in standard output (the first at line 2, "
              "column 3)\n");
    EXPECT_EQ(RunCli({"--out-encoding", "cp1251", "RemoveExtraSpaces"}, "Яа").err, "");

    // Input that is not UTF-8 is read as cp1251, and the tool says where it stopped being UTF-8.
    const Result notUtf8 = RunCli({"RemoveExtraSpaces"}, "ok \xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(notUtf8.out, "ok Привет");
    EXPECT_EQ(notUtf8.err,
              "vernalith-cli: standard input is not valid UTF-8 (first invalid byte at offset 3): read as cp1251\n");
    EXPECT_EQ(RunCli({"--in-encoding", "cp1251", "RemoveExtraSpaces"}, "\xCF").err, "");
}

TEST(CommandLine, UsageMistakesGetAHint) {
    const Result typo = RunCli({"removeextraspace"}, "x");
    EXPECT_EQ(typo.code, 2);
    EXPECT_EQ(typo.err,
              "vernalith-cli: unknown procedure: removeextraspace (did you mean RemoveExtraSpaces?) "
              "(vernalith-cli --help shows the usage)\n");
    // A last word that is neither a procedure nor a file is a misspelt procedure, not a missing file.
    const Result last = RunCli({"RemoveExtraSpaces", "SortLine"}, "x");
    EXPECT_EQ(last.code, 2);
    EXPECT_NE(last.err.find("unknown procedure: SortLine (did you mean SortLines?)"), std::string::npos);
    // A report gives no text to go on with.
    const Result report = RunCli({"TextInfo", "RemoveExtraSpaces"}, "x");
    EXPECT_EQ(report.code, 2);
    EXPECT_NE(report.err.find("TextInfo is a report"), std::string::npos);
    EXPECT_TRUE(report.out.empty());
}

TEST(CommandLine, HelpVersionAndListings) {
    const Result help = RunCli({"RemoveExtraSpaces", "--bogus", "--help"}, "x");
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.starts_with("usage: vernalith-cli")) << help.out;
    for (const char* option : {"--help", "--version", "--list", "--list-settings", "--in-encoding", "--out-encoding",
                               "--eol", "--raw-text", "--seed", "--output", "--set ", "--set-file", "--"}) {
        EXPECT_NE(help.out.find(std::string("\n") + option), std::string::npos) << option;
    }
    EXPECT_EQ(RunCli({"--version"}).out, std::string("vernalith-cli ") + VERNALITH_VERSION + "\n");

    const Result settings = RunCli({"--list-settings"});
    EXPECT_EQ(settings.code, 0);
    const std::string listing = "\n" + settings.out;
    for (const SettingInfo& info : SettingsTable()) {
        EXPECT_NE(listing.find("\n" + std::string(info.name) + "\t"), std::string::npos) << info.name;
    }
    EXPECT_NE(listing.find("\nArticleMinChars\t1400\n"), std::string::npos);
    EXPECT_EQ(std::count(settings.out.begin(), settings.out.end(), '\n'),
              static_cast<std::ptrdiff_t>(SettingsTable().size()));
}

TEST(CommandLine, ProgressLineStaysOnStandardErrorAndIsWipedBeforeTheResult) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "строка " + std::to_string(i % 700) + "\r\n";
    const Result plain = RunCli({"RemoveDuplicateLines", "SortLines"}, text);
    const Result shown = RunCli({"RemoveDuplicateLines", "SortLines"}, text, true);
    EXPECT_EQ(shown.code, 0);
    EXPECT_EQ(shown.out, plain.out);
    EXPECT_EQ(shown.out.find('\x1b'), std::string::npos);
    EXPECT_NE(shown.err.find("step 1 of 2"), std::string::npos) << shown.err;
    EXPECT_NE(shown.err.find("step 2 of 2"), std::string::npos);
    EXPECT_TRUE(shown.err.ends_with("\r\x1b[K")) << shown.err;
    EXPECT_EQ(plain.err, "");
}

// A settings folder as the program leaves it: all five files, written from `values`.
void WriteSettingsFolder(const std::string& folder, const SettingValues& values) {
    std::filesystem::create_directories(folder);
    ASSERT_FALSE(SaveSettingsFolder(folder, values).has_value());
}

TEST_F(CliFiles, SettingsDirSuppliesTheSettingsAndSetStillWins) {
    SettingValues saved;
    saved.Set(Setting::RemoveList, u"м");
    saved.Set(Setting::LinePrefix, u"<li>");
    saved.Set(Setting::LineSuffix, u"</li>");
    WriteSettingsFolder(Path("settings"), saved);
    // options1.txt holds the removal list (in cp1251, as the program writes it).
    EXPECT_EQ(FileContent(Path("settings/options1.txt")), "\xEC\r\n");

    const Result listed = RunCli({"--settings-dir", Path("settings"), "RemoveListedCharacters"}, "мир");
    EXPECT_EQ(listed.code, 0) << listed.err;
    EXPECT_EQ(listed.out, "ир");
    // The record files are read too.
    EXPECT_EQ(RunCli({"--settings-dir=" + Path("settings"), "AddLinePrefixSuffix"}, "a").out, "<li>a</li>\r\n");
    // --set wins wherever it stands; the other settings still come from the folder.
    EXPECT_EQ(
        RunCli({"--set", "RemoveList=и", "--settings-dir", Path("settings"), "RemoveListedCharacters"}, "мир").out,
        "мр");
    EXPECT_EQ(RunCli({"--set", "LineSuffix=;", "--settings-dir", Path("settings"), "AddLinePrefixSuffix"}, "a").out,
              "<li>a;\r\n");
    // Without the folder the defaults apply.
    EXPECT_EQ(RunCli({"RemoveListedCharacters"}, "Memo1 мир").out, " мир");
}

TEST_F(CliFiles, SettingsDirThatCannotBeReadStopsWithTheFilesMessage) {
    WriteSettingsFolder(Path("full"), SettingValues());
    const std::filesystem::path full = dir_ / "full";
    const struct {
        const char* name;
        std::function<void()> damage;
        std::string err;
    } cases[] = {
        {"no folder", [] {},
         "vernalith-cli: Cannot open file \"" + Path("none/options1.txt") + "\". No such file or directory\n"},
        {"a list file missing", [&] { std::filesystem::remove(full / "options2.txt"); },
         "vernalith-cli: Cannot open file \"" + Path("full/options2.txt") + "\". No such file or directory\n"},
        {"a short record file", [&] { WriteFile(full / "options2.ini", std::string(300, '\0')); },
         "vernalith-cli: Read beyond end of file: '" + Path("full/options2.ini") + "'\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettingsFolder(Path("full"), SettingValues());
        c.damage();
        const std::string folder = std::string(c.name) == "no folder" ? Path("none") : Path("full");
        const Result r = RunCli({"--settings-dir", folder, "RemoveExtraSpaces"}, "a  b");
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    // A missing record file stops the reading silently, as in the program: what was read counts.
    WriteSettingsFolder(Path("full"), [] {
        SettingValues values;
        values.Set(Setting::RemoveList, u"р");
        return values;
    }());
    std::filesystem::remove(full / "options.ini");
    const Result r = RunCli({"--settings-dir", Path("full"), "RemoveListedCharacters"}, "мир");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "ми");
}

// The names of the default chain's procedures, in order.
std::vector<std::string> DefaultChainNames() {
    std::vector<std::string> names;
    for (const std::u16string& caption : DefaultProcedureChain()) {
        names.emplace_back(FindProcedureByCaption(caption)->name);
    }
    return names;
}

const std::string kChainSample =
    "  <b>Первая</b>   глава ,  в  которой  много пробелов !!\r\n\r\n\r\nВторая стро-\r\nка и (см. рис 2) текст.\r\n";

TEST_F(CliFiles, AutomaticRunsTheDefaultTheSettingsOrTheFilesChain) {
    std::vector<std::string> byName = {"--seed", "5"};
    for (const std::string& name : DefaultChainNames()) byName.push_back(name);
    const Result expected = RunCli(byName, kChainSample);
    ASSERT_EQ(expected.code, 0) << expected.err;
    const Result automatic = RunCli({"--seed", "5", "automatic"}, kChainSample);
    EXPECT_EQ(automatic.code, 0) << automatic.err;
    EXPECT_EQ(automatic.out, expected.out);

    // The settings folder's options3.txt, with its other settings; a text that is no caption runs nothing.
    SettingValues saved;
    saved.Set(Setting::ProcedureChain, u"удаление лишних пробелов\r\nno such entry\r\nудаление указанных символов");
    saved.Set(Setting::RemoveList, u"!");
    WriteSettingsFolder(Path("settings"), saved);
    const Result fromFolder = RunCli({"--settings-dir", Path("settings"), "automatic"}, "a  b !!");
    EXPECT_EQ(fromFolder.code, 0) << fromFolder.err;
    EXPECT_EQ(fromFolder.out, "a b ");

    // --chain-file wins over the folder's chain; it is read as options3.txt is (a byte-order mark, else
    // cp1251), and as UTF-8 when it is valid UTF-8.
    const std::u16string chain = u"опустить регистр\r\nудаление указанных символов\r\n";
    for (const std::string& bytes : {"\xEF\xBB\xBF" + EncodeUtf8(chain), EncodeCp1251(chain), EncodeUtf8(chain)}) {
        WriteFile(Path("chain.txt"), bytes);
        const Result fromFile =
            RunCli({"--chain-file", Path("chain.txt"), "--settings-dir", Path("settings"), "automatic"}, "A  B !!");
        EXPECT_EQ(fromFile.code, 0) << fromFile.err;
        EXPECT_EQ(fromFile.out, "a  b ");
    }
    // automatic is one step among others.
    EXPECT_EQ(
        RunCli({"--chain-file", Path("chain.txt"), "--set", "RemoveList=b", "automatic", "RemoveExtraSpaces"}, "A  B c")
            .out,
        "a c");

    const Result missing = RunCli({"--chain-file", Path("none.txt"), "automatic"}, "x");
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "vernalith-cli: cannot read '" + Path("none.txt") + "': No such file or directory\n");
}

TEST_F(CliFiles, ChainOverManyFilesGivesEachTheBytesOfItsOwnRun) {
    std::filesystem::create_directories(dir_ / "in");
    std::filesystem::create_directories(dir_ / "out");
    std::vector<std::string> args = {"--seed", "9", "--output-dir", Path("out"), "automatic"};
    for (int i = 0; i < 12; ++i) {
        std::string text;
        for (int repeat = 0; repeat <= i * 20; ++repeat) text += kChainSample;
        const std::string name = "text" + std::to_string(i) + ".txt";
        WriteFile(dir_ / "in" / name, i % 3 == 0 ? "\xEF\xBB\xBF" + text : text);
        args.push_back(Path("in/" + name));
        if (i == 4) args.push_back(Path("in/missing.txt"));  // fails, and the others still complete
        if (i == 7) args.push_back(Path("in"));              // a folder: cannot be read
    }
    const Result r = RunCli(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("cannot read '" + Path("in/missing.txt") + "': No such file or directory\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("cannot read '" + Path("in") + "': Is a directory\n"), std::string::npos) << r.err;

    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / "out"))
        written.push_back(entry.path().filename());
    EXPECT_EQ(written.size(), 12u);  // no temporary file left behind
    for (int i = 0; i < 12; ++i) {
        const std::string name = "text" + std::to_string(i) + ".txt";
        SCOPED_TRACE(name);
        const Result alone = RunCli({"--seed", "9", "automatic", Path("in/" + name)});
        ASSERT_EQ(alone.code, 0) << alone.err;
        EXPECT_FALSE(alone.out.empty());
        EXPECT_EQ(FileContent(dir_ / "out" / name), alone.out);
    }

    // All well: exit 0, and on a terminal the line counts the files and is wiped at the end.
    const Result ok = RunCli(
        {"--output-dir", Path("out"), "RemoveExtraSpaces", Path("in/text1.txt"), Path("in/text2.txt")}, "", true);
    EXPECT_EQ(ok.code, 0) << ok.err;
    EXPECT_NE(ok.err.find("2 of 2 files done"), std::string::npos) << ok.err;
    EXPECT_TRUE(ok.err.ends_with("\r\x1b[K")) << ok.err;
    EXPECT_EQ(RunCli({"--output-dir", Path("out"), "RemoveExtraSpaces", Path("in/text1.txt")}).code, 0);
}

TEST_F(CliFiles, SeveralInputsNeedAnOutputFolderAndDistinctNames) {
    WriteFile(Path("a.txt"), "a");
    WriteFile(Path("b.txt"), "b");
    std::filesystem::create_directories(dir_ / "sub");
    WriteFile(dir_ / "sub" / "a.txt", "c");
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"RemoveExtraSpaces", Path("a.txt"), Path("b.txt")}, "several inputs need --output-dir DIR for their results"},
        {{"--output-dir", Path("sub"), "-o", Path("x"), "RemoveExtraSpaces", Path("a.txt")},
         "--output and --output-dir exclude each other"},
        {{"--output-dir", Path("sub"), "RemoveExtraSpaces"}, "--output-dir needs input files"},
        {{"--output-dir", Path("sub"), "RemoveExtraSpaces", Path("a.txt"), "-"},
         "standard input cannot be written to --output-dir: name the input files"},
        {{"--output-dir", Path("out"), "RemoveExtraSpaces", Path("a.txt"), Path("sub/a.txt")},
         "two inputs have the file name a.txt"},
        {{"--output-dir", Path("out"), "RemoveExtraSpaces", Path("a.txt"), "LowerCaseAll"},
         "procedures come before the inputs: LowerCaseAll"},
    };
    for (const auto& c : cases) {
        const Result r = RunCli(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err, "vernalith-cli: " + c.err + " (vernalith-cli --help shows the usage)\n");
    }
    EXPECT_EQ(FileContent(dir_ / "sub" / "a.txt"), "c");

    const Result noFolder = RunCli({"--output-dir", Path("out"), "RemoveExtraSpaces", Path("a.txt"), Path("b.txt")});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_EQ(noFolder.err, "vernalith-cli: cannot write to '" + Path("out") + "': not a folder\n");
}

}  // namespace
}  // namespace vernalith
