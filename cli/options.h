#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "automatic/procedure_table.h"
#include "core/encoding.h"
#include "settings/settings_table.h"

namespace vernalith {

// Bad usage: the tool prints the message in one line and exits with 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the command line asks for.
struct Options {
    bool showHelp = false;
    bool showVersion = false;
    bool listProcedures = false;
    bool listSettings = false;
    std::optional<TextEncoding> inEncoding;  // nullopt: decide from the bytes
    TextEncoding outEncoding = TextEncoding::Utf8;
    bool lfBreaks = false;
    bool rawText = false;
    std::optional<uint64_t> seed;
    std::string outputPath;  // empty or "-": standard output
    std::string inputPath;   // empty or "-": standard input
    SettingValues settings;
    std::vector<const ProcedureRow*> procedures;
};

// Parses the arguments (without the program name). Options may come anywhere before "--", as
// "--name value" or "--name=value"; the words are procedures, and the last one may be the input file.
// Throws UsageError for bad usage and FileError for a --set-file that cannot be read.
Options ParseOptions(const std::vector<std::string>& args);

// The --help text: a usage line, then every option on a line of its own, starting with its name.
std::string HelpText();

// Every setting with its default, one a line: the name, a tab, the value with backslash, CR, LF and
// TAB written as \\, \r, \n and \t.
std::string SettingsListing();

// The procedure whose name is nearest to `word` (letter case ignored): the suggestion for a typo.
std::string_view NearestProcedureName(const std::string& word);

}  // namespace vernalith
