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

TEST(CommandLine, ListNamesEveryProcedureWithItsCaption) {
    const Result r = RunCli({"--list"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("RemoveExtraSpaces\tудаление лишних пробелов\n"), std::string::npos);
    EXPECT_NE(r.out.find("RemoveEmptyLines\tудаление пустых строк\n"), std::string::npos);
}

}  // namespace
}  // namespace vernalith
