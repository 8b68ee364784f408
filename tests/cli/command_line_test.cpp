#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vernalith {
namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunCli(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunCommandLine(args, in, out, err);
    return {code, out.str(), err.str()};
}

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

TEST(CommandLine, FilesInAndOut) {
    const auto dir = std::filesystem::temp_directory_path() / "vernalith_cli_test";
    std::filesystem::create_directories(dir);
    const auto input = (dir / "in.txt").string(), output = (dir / "out.txt").string();
    std::ofstream(input, std::ios::binary) << "a  b";
    EXPECT_EQ(RunCli({"-o", output, "RemoveExtraSpaces", input}).code, 0);
    std::ifstream file(output, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "a b");
    EXPECT_FALSE(std::filesystem::exists(output + ".part"));

    const Result missing = RunCli({"RemoveExtraSpaces", (dir / "missing.txt").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("Cannot open file"), std::string::npos);
    const Result unwritable = RunCli({"-o", (dir / "no" / "such" / "dir.txt").string(), "RemoveExtraSpaces"}, "x");
    EXPECT_EQ(unwritable.code, 1);
    std::filesystem::remove_all(dir);
}

TEST(CommandLine, ReportsAreWrittenAsTheyAre) {
    // The tag count message exactly as the box shows it, its lines ended by LF CR.
    EXPECT_EQ(RunCli({"CountTags"}, "<H1>a</h1>\n<h2><h4>").out, "<h1> - 1\n\r<h2> - 1\n\r<h3> - 0\n\r<h4> - 1\n\r");
    EXPECT_EQ(RunCli({"--set", "CustomCountTag=P", "CountTags"}, "Pp p").out,
              "<h1> - 0\n\r<h2> - 0\n\r<h3> - 0\n\rp - 3\n\r");
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

}  // namespace
}  // namespace vernalith
