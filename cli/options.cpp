#include "cli/options.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <set>
#include <span>

#include "core/byte_io.h"
#include "settings/settings_files.h"

namespace vernalith {
namespace {

// One option of the command line. `value` names the option's value in the help (nullptr: a flag);
// `apply` stores it.
struct OptionRow {
    const char* name;
    const char* alias;  // a short form, or nullptr
    const char* value;
    const char* help;
    void (*apply)(Options& options, const std::string& value);
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<TextEncoding> ParseEncoding(const std::string& option, const std::string& name, bool allowAuto) {
    const std::string lower = Lower(name);
    if (lower == "utf-8" || lower == "utf8") return TextEncoding::Utf8;
    if (lower == "utf-16le" || lower == "utf16le") return TextEncoding::Utf16LE;
    if (lower == "utf-16be" || lower == "utf16be") return TextEncoding::Utf16BE;
    if (lower == "cp1251" || lower == "windows-1251" || lower == "win1251") return TextEncoding::Cp1251;
    if (lower == "auto" && allowAuto) return std::nullopt;
    throw UsageError(option + " takes " + (allowAuto ? "auto, " : "") +
                     "utf-8, utf-16le, utf-16be or cp1251, got: " + name);
}

std::pair<std::string, std::string> SplitAssignment(const std::string& text, const std::string& option) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) throw UsageError(option + " takes NAME=VALUE, got: " + text);
    return {text.substr(0, eq), text.substr(eq + 1)};
}

Setting SettingByName(const std::string& name) {
    const SettingInfo* info = FindSetting(name);
    if (!info) throw UsageError("unknown setting: " + name + " (--list-settings shows them)");
    return info->id;
}

constexpr std::array<OptionRow, 17> kOptions = {{
    {"--help", "-h", nullptr, "show this help and exit", [](Options& o, const std::string&) { o.showHelp = true; }},
    {"--version", nullptr, nullptr, "show the version and exit",
     [](Options& o, const std::string&) { o.showVersion = true; }},
    {"--list", nullptr, nullptr, "list every procedure with its caption and exit",
     [](Options& o, const std::string&) { o.listProcedures = true; }},
    {"--list-settings", nullptr, nullptr, "list every setting with its default and exit",
     [](Options& o, const std::string&) { o.listSettings = true; }},
    {"--in-encoding", nullptr, "ENC",
     "input encoding: auto (default: a byte-order mark, else UTF-8 if valid, else cp1251), utf-8, utf-16le, "
     "utf-16be, cp1251",
     [](Options& o, const std::string& v) { o.inEncoding = ParseEncoding("--in-encoding", v, true); }},
    {"--out-encoding", nullptr, "ENC",
     "output encoding: utf-8 (default, no byte-order mark), utf-16le, utf-16be, cp1251",
     [](Options& o, const std::string& v) { o.outEncoding = *ParseEncoding("--out-encoding", v, false); }},
    {"--eol", nullptr, "crlf|lf", "line breaks of the result: crlf (default) or lf",
     [](Options& o, const std::string& v) {
         const std::string eol = Lower(v);
         if (eol != "crlf" && eol != "lf") throw UsageError("--eol takes crlf or lf, got: " + v);
         o.lfBreaks = eol == "lf";
     }},
    {"--raw-text", nullptr, nullptr, "hand the procedures the decoded input as it is and write their result unchanged",
     [](Options& o, const std::string&) { o.rawText = true; }},
    {"--seed", nullptr, "N", "fix the random numbers of the article split",
     [](Options& o, const std::string& v) {
         const bool digits = !v.empty() && v.size() <= 19 &&
                             std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
         if (!digits) throw UsageError("--seed takes a whole number, got: " + v);
         o.seed = std::stoull(v);
     }},
    {"--output", "-o", "FILE",
     "write the result to FILE (replaced only once it is written whole; - is standard output)",
     [](Options& o, const std::string& v) { o.outputPath = v; }},
    {"--output-dir", nullptr, "DIR",
     "write each result to DIR under its input's file name (replaced only once written whole); needed for "
     "several inputs, which run in parallel",
     [](Options& o, const std::string& v) {
         if (v.empty()) throw UsageError("--output-dir needs a folder");
         o.outputDir = v;
     }},
    {"--settings-dir", nullptr, "DIR",
     "read the settings and the procedure chain from the program's five settings files in DIR (--set wins)",
     [](Options& o, const std::string& v) {
         if (v.empty()) throw UsageError("--settings-dir needs a folder");
         o.settingsDir = v;
     }},
    {"--chain-file", nullptr, "PATH",
     "the chain that automatic runs: procedure captions one a line, as the settings file options3.txt holds them",
     [](Options& o, const std::string& v) {
         if (v.empty()) throw UsageError("--chain-file needs a file");
         o.chainFile = v;
     }},
    {"--set", nullptr, "NAME=VALUE", "set a setting for this run",
     [](Options& o, const std::string& v) {
         auto [name, text] = SplitAssignment(v, "--set");
         o.assignments.emplace_back(SettingByName(name), DecodeUtf8(text));
     }},
    {"--set-file", nullptr, "NAME=PATH",
     "set a setting to the content of a file (a byte-order mark decides, else UTF-8 if valid, else cp1251)",
     [](Options& o, const std::string& v) {
         auto [name, path] = SplitAssignment(v, "--set-file");
         const Setting id = SettingByName(name);
         o.assignments.emplace_back(id, DecodeAuto(ReadFileBytes(path).View()));
     }},
    {"--", nullptr, nullptr, "end of the options: every later word is a procedure or an input", nullptr},
    {"-", nullptr, nullptr, "as INPUT: standard input", nullptr},
}};

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptions) {
        if (row.apply && (name == row.name || (row.alias && name == row.alias))) return &row;
    }
    return nullptr;
}

bool IsAutomaticWord(const std::string& word) { return word == kAutomaticWord; }

const ProcedureRow* ProcedureByNameOrCaption(const std::string& word) {
    if (const ProcedureRow* info = FindProcedure(word)) return info;
    if (auto caption = DecodeUtf8Strict(word)) return FindProcedureByCaption(*caption);
    return nullptr;
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Where the results go must fit the inputs: several inputs need an output folder, which takes each
// result under its input's file name, so the inputs are files with distinct names.
void CheckOutputs(const Options& options) {
    const size_t inputs = options.inputPaths.size();
    if (options.outputDir.empty()) {
        if (inputs > 1) throw UsageError("several inputs need --output-dir DIR for their results");
        return;
    }
    if (!options.outputPath.empty()) throw UsageError("--output and --output-dir exclude each other");
    if (inputs == 0) throw UsageError("--output-dir needs input files");
    std::set<std::string> names;
    for (const std::string& path : options.inputPaths) {
        if (path == "-") throw UsageError("standard input cannot be written to --output-dir: name the input files");
        const std::string name = std::filesystem::path(path).filename().string();
        if (name.empty() || name == "." || name == "..") throw UsageError("not a file name: " + path);
        if (!names.insert(name).second) throw UsageError("two inputs have the file name " + name);
    }
}

// The settings: the defaults, then the settings folder's files (when given), then every --set in
// order. The chain comes from the chain file when one is given, else from those settings.
void LoadSettings(Options& options) {
    if (!options.settingsDir.empty()) {
        const std::string folder = std::filesystem::absolute(options.settingsDir).lexically_normal().string();
        const SettingsFolderContents contents = LoadSettingsFolder(folder);
        if (contents.error) {
            std::string message = contents.error->Message();
            if (contents.error->kind == SettingsFileError::Kind::ReadBeyondEnd) {
                message += ": " + Quoted(contents.error->path);
            }
            throw FileError(message);
        }
        for (const auto& [setting, value] : contents.values) options.settings.Set(setting, value);
    }
    for (const auto& [setting, value] : options.assignments) options.settings.Set(setting, value);
    if (!options.chainFile.empty()) {
        // Read as options3.txt is, except that a file without a byte-order mark that is valid UTF-8 is
        // read as UTF-8: a chain written by hand in an editor (cp1251 captions are never valid UTF-8).
        const ByteBuffer bytes = ReadFileBytes(options.chainFile);
        const std::string_view view = bytes.View();
        const bool marked =
            view.starts_with("\xEF\xBB\xBF") || view.starts_with("\xFF\xFE") || view.starts_with("\xFE\xFF");
        if (!marked && DecodeUtf8Strict(view)) {
            options.chain = DecodeTextLines("\xEF\xBB\xBF" + std::string(view));
        } else {
            options.chain = DecodeTextLines(view);
        }
    }
}

}  // namespace

std::string_view NearestProcedureName(const std::string& word) {
    const std::string lower = Lower(word);
    std::string_view best;
    size_t bestDistance = SIZE_MAX;
    auto consider = [&](std::string_view name) {
        const size_t distance = EditDistance(lower, Lower(std::string(name)));
        if (distance < bestDistance) best = name, bestDistance = distance;
    };
    for (const ProcedureRow& info : ProcedureTable()) consider(info.name);
    consider(kAutomaticWord);
    return best;
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    // --help and --version win over everything else before "--", even over mistakes.
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") options.showHelp = true;
        if (arg == "--version") options.showVersion = true;
    }
    if (options.showHelp || options.showVersion) return options;

    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            words.insert(words.end(), args.begin() + static_cast<ptrdiff_t>(i) + 1, args.end());
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            words.push_back(arg);
            continue;
        }
        const size_t eq = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, eq);
        const OptionRow* row = FindOption(name);
        if (!row) throw UsageError("unknown option: " + name);
        std::string value;
        if (!row->value) {
            if (eq != std::string::npos) throw UsageError(name + " takes no value");
        } else if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError(name + " needs a value (" + row->value + ")");
        }
        row->apply(options, value);
    }
    if (options.listProcedures || options.listSettings) return options;

    // The words name procedures; the first word that names none but an existing file (or "-") starts
    // the inputs, and every later word is an input too.
    size_t i = 0;
    for (; i < words.size(); ++i) {
        if (IsAutomaticWord(words[i])) {
            options.procedures.push_back(nullptr);
        } else if (const ProcedureRow* info = ProcedureByNameOrCaption(words[i])) {
            options.procedures.push_back(info);
        } else if (!options.procedures.empty() && (words[i] == "-" || Exists(words[i]))) {
            break;
        } else {
            throw UsageError("unknown procedure: " + words[i] + " (did you mean " +
                             std::string(NearestProcedureName(words[i])) + "?)");
        }
    }
    for (; i < words.size(); ++i) {
        const bool procedureWord = IsAutomaticWord(words[i]) || ProcedureByNameOrCaption(words[i]);
        if (procedureWord && !Exists(words[i])) {
            throw UsageError("procedures come before the inputs: " + words[i]);
        }
        options.inputPaths.push_back(words[i]);
    }
    if (options.procedures.empty()) throw UsageError("no procedure given");
    for (size_t i = 0; i + 1 < options.procedures.size(); ++i) {
        if (options.procedures[i] && options.procedures[i]->report) {
            throw UsageError(std::string(options.procedures[i]->name) +
                             " is a report: it can only be the last procedure of a chain");
        }
    }
    CheckOutputs(options);
    LoadSettings(options);
    return options;
}

std::string HelpText() {
    std::string text =
        "usage: vernalith-cli [OPTION]... PROCEDURE... [INPUT]\n"
        "       vernalith-cli [OPTION]... --output-dir DIR PROCEDURE... INPUT...\n"
        "Runs the procedures in order on INPUT (or standard input), each on the previous one's result,\n"
        "and writes the result to standard output. PROCEDURE is a name (vernalith-cli --list) or a caption,\n"
        "or automatic: the procedure chain (the default one, the one of --settings-dir or of --chain-file).\n"
        "Options (each value as the next word or after \"=\"):\n";
    for (const OptionRow& row : kOptions) {
        std::string head = row.name;
        if (row.value) head += std::string(" ") + row.value;
        if (row.alias) head += std::string(", ") + row.alias + (row.value ? std::string(" ") + row.value : "");
        head.resize(std::max<size_t>(head.size() + 2, 26), ' ');
        text += head + row.help + "\n";
    }
    text += "Exit status: 0 done, 1 reading, a procedure or writing failed, 2 bad usage.\n";
    return text;
}

std::string SettingsListing() {
    std::string text;
    for (const SettingInfo& info : SettingsTable()) {
        text += std::string(info.name) + '\t';
        for (const char c : EncodeUtf8(SettingDefault(info.id))) {
            switch (c) {
                case '\\':
                    text += "\\\\";
                    break;
                case '\r':
                    text += "\\r";
                    break;
                case '\n':
                    text += "\\n";
                    break;
                case '\t':
                    text += "\\t";
                    break;
                default:
                    text += c;
            }
        }
        text += '\n';
    }
    return text;
}

}  // namespace vernalith
