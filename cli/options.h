#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
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
    std::string outputDir;   // several inputs: each result under the input's file name here
    // The input files; none, or "-": standard input. Several only with an output folder.
    std::vector<std::string> inputPaths;
    std::string settingsDir;  // empty: the defaults
    std::string chainFile;    // empty: the chain of the settings
    // The --set and --set-file values, in order.
    std::vector<std::pair<Setting, std::u16string>> assignments;
    // The settings the procedures read: the defaults, then the settings folder, then every --set.
    SettingValues settings;
    // The chain `automatic` runs when it comes from a chain file (otherwise the settings' one).
    std::optional<std::vector<std::u16string>> chain;
    // The steps in order; nullptr is the word `automatic`, the procedure chain.
    std::vector<const ProcedureRow*> procedures;
};

// The word that runs the procedure chain.
inline constexpr std::string_view kAutomaticWord = "automatic";

// Parses the arguments (without the program name). Options may come anywhere before "--", as
// "--name value" or "--name=value"; the words are procedures, and the last one may be the input file.
// Throws UsageError for bad usage and FileError for a --set-file, a settings folder or a chain file
// that cannot be read.
Options ParseOptions(const std::vector<std::string>& args);

// The --help text: a usage line, then every option on a line of its own, starting with its name.
std::string HelpText();

// Every setting with its default, one a line: the name, a tab, the value with backslash, CR, LF and
// TAB written as \\, \r, \n and \t.
std::string SettingsListing();

// The procedure whose name is nearest to `word` (letter case ignored): the suggestion for a typo.
std::string_view NearestProcedureName(const std::string& word);

}  // namespace vernalith
