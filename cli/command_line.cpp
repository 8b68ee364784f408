#include "cli/command_line.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>

#include "automatic/procedure_runners.h"
#include "automatic/procedure_table.h"
#include "core/editor_text.h"
#include "core/encoding.h"
#include "core/procedure_error.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

constexpr const char* kUsage =
    "usage: vernalith-cli [--in-encoding ENC] [--out-encoding ENC] [--set NAME=VALUE]... "
    "[--set-file NAME=PATH]... [--eol crlf|lf] [--raw-text] [--seed N] [-o FILE] PROCEDURE... [INPUT]\n"
    "       vernalith-cli --list\n";

class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Progress on standard error: one line, rewritten in place, only when it is a terminal.
class TerminalProgress : public ProgressReporter {
public:
    TerminalProgress(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
    ~TerminalProgress() override {
        if (enabled_ && shown_) err_ << "\r\x1b[K" << std::flush;
    }

    void SetStatusCaption(std::u16string_view text) override {
        caption_ = EncodeUtf8(text);
        Show();
    }
    void ReportPercent(int percent) override { ShowPercent(percent); }
    void ReportPercentSpaced(int percent) override { ShowPercent(percent); }
    void ClearPercent() override { percent_.clear(); }
    void SetGauge(Gauge, int) override {}
    void ShowProgressPanel() override {}
    void HideProgressPanel() override {}
    void PumpEvents() override {}

private:
    void ShowPercent(int percent) {
        percent_ = " [" + std::string(static_cast<size_t>(std::clamp(percent, 0, 100) / 5), '#') +
                   std::string(20 - static_cast<size_t>(std::clamp(percent, 0, 100) / 5), '.') + "] " +
                   std::to_string(percent) + "%";
        Show();
    }
    void Show() {
        if (!enabled_) return;
        err_ << "\r\x1b[K" << caption_ << percent_ << std::flush;
        shown_ = true;
    }

    std::ostream& err_;
    bool enabled_;
    bool shown_ = false;
    std::string caption_;
    std::string percent_;
};

struct Options {
    std::optional<TextEncoding> inEncoding;  // nullopt: decide from the bytes
    TextEncoding outEncoding = TextEncoding::Utf8;
    bool lfBreaks = false;
    bool rawText = false;
    std::optional<uint64_t> seed;
    std::string outputPath;
    std::string inputPath;
    SettingValues settings;
    std::vector<const ProcedureRow*> procedures;
};

std::optional<TextEncoding> ParseEncoding(const std::string& name, bool allowAuto) {
    if (name == "utf-8" || name == "utf8") return TextEncoding::Utf8;
    if (name == "utf-16le" || name == "utf16le") return TextEncoding::Utf16LE;
    if (name == "cp1251" || name == "windows-1251") return TextEncoding::Cp1251;
    if (name == "auto" && allowAuto) return std::nullopt;
    throw UsageError("unknown encoding: " + name);
}

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

std::pair<std::string, std::string> SplitAssignment(const std::string& text, const std::string& option) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) throw UsageError(option + " takes NAME=VALUE, got: " + text);
    return {text.substr(0, eq), text.substr(eq + 1)};
}

const SettingInfo& SettingByName(const std::string& name) {
    const SettingInfo* info = FindSetting(name);
    if (!info) throw UsageError("unknown setting: " + name);
    return *info;
}

const ProcedureRow* ProcedureByNameOrCaption(const std::string& word) {
    if (const ProcedureRow* info = FindProcedure(word)) return info;
    if (auto caption = DecodeUtf8Strict(word)) return FindProcedureByCaption(*caption);
    return nullptr;
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    std::vector<std::string> words;
    auto value = [&](size_t& i) -> const std::string& {
        if (i + 1 >= args.size()) throw UsageError(args[i] + " needs a value");
        return args[++i];
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--in-encoding") {
            options.inEncoding = ParseEncoding(value(i), true);
        } else if (arg == "--out-encoding") {
            options.outEncoding = ParseEncoding(value(i), true).value_or(TextEncoding::Utf8);
        } else if (arg == "--eol") {
            const std::string& eol = value(i);
            if (eol != "crlf" && eol != "lf") throw UsageError("--eol takes crlf or lf, got: " + eol);
            options.lfBreaks = eol == "lf";
        } else if (arg == "--raw-text") {
            options.rawText = true;
        } else if (arg == "--seed") {
            const std::string& seed = value(i);
            try {
                size_t used = 0;
                options.seed = std::stoull(seed, &used);
                if (used != seed.size()) throw std::invalid_argument(seed);
            } catch (const std::exception&) {
                throw UsageError("--seed takes a whole number, got: " + seed);
            }
        } else if (arg == "-o" || arg == "--output") {
            options.outputPath = value(i);
        } else if (arg == "--set") {
            auto [name, text] = SplitAssignment(value(i), "--set");
            options.settings.Set(SettingByName(name).id, DecodeUtf8(text));
        } else if (arg == "--set-file") {
            auto [name, path] = SplitAssignment(value(i), "--set-file");
            const Setting id = SettingByName(name).id;
            std::string bytes;
            if (!ReadFile(path, bytes)) throw std::runtime_error("Cannot open file \"" + path + "\".");
            if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
            options.settings.Set(id, DecodeUtf8(bytes));
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            throw UsageError("unknown option: " + arg);
        } else {
            words.push_back(arg);
        }
    }
    // Every word names a procedure, except that a last word that names none is the input file.
    for (size_t i = 0; i < words.size(); ++i) {
        const ProcedureRow* info = ProcedureByNameOrCaption(words[i]);
        if (info) {
            options.procedures.push_back(info);
        } else if (i + 1 == words.size() && !options.procedures.empty()) {
            options.inputPath = words[i];
        } else {
            throw UsageError("unknown procedure: " + words[i]);
        }
    }
    if (options.procedures.empty()) throw UsageError("no procedure given");
    if (options.inputPath == "-") options.inputPath.clear();
    return options;
}

void ListProcedures(std::ostream& out) {
    for (const ProcedureRow& info : ProcedureTable()) {
        out << info.name;
        if (!info.caption.empty()) out << '\t' << EncodeUtf8(info.caption);
        out << '\n';
    }
}

int Run(Options& options, std::istream& in, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    std::string bytes;
    if (options.inputPath.empty()) {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else if (!ReadFile(options.inputPath, bytes)) {
        err << "vernalith-cli: Cannot open file \"" << options.inputPath << "\".\n";
        return 1;
    }
    std::u16string text = options.inEncoding ? Decode(bytes, *options.inEncoding) : DecodeAuto(bytes);
    if (!options.rawText) text = ToEditorText(text);

    std::random_device device;
    SeededRandom random(options.seed.value_or((uint64_t{device()} << 32) | device()));
    TerminalProgress progress(err, errIsTerminal);
    ProcedureContext context{options.settings, progress, random};
    bool report = false;
    try {
        for (const ProcedureRow* info : options.procedures) {
            text = RunProcedure(info->id, text, context);
            report = info->report;
        }
    } catch (const ProcedureError& error) {
        err << "vernalith-cli: " << EncodeUtf8(error.message()) << '\n';
        return 1;
    }
    if (!options.rawText && !report) text = ToEditorText(text);
    if (options.lfBreaks) text = CrLfToLf(text);

    const std::string result = Encode(text, options.outEncoding);
    if (options.outputPath.empty()) {
        out.write(result.data(), static_cast<std::streamsize>(result.size()));
        out.flush();
        if (!out) {
            err << "vernalith-cli: cannot write the result\n";
            return 1;
        }
        return 0;
    }
    // Write beside the target and rename, so that a failed write leaves no half-written file.
    const std::string temporary = options.outputPath + ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(result.data(), static_cast<std::streamsize>(result.size()));
        file.close();
        if (!file) {
            std::remove(temporary.c_str());
            err << "vernalith-cli: Cannot create file \"" << options.outputPath << "\".\n";
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), options.outputPath.c_str()) != 0) {
        std::remove(temporary.c_str());
        err << "vernalith-cli: Cannot create file \"" << options.outputPath << "\".\n";
        return 1;
    }
    return 0;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
                   bool errIsTerminal) {
    if (args.size() == 1 && args[0] == "--list") {
        ListProcedures(out);
        return 0;
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    try {
        Options options = ParseOptions(args);
        return Run(options, in, out, err, errIsTerminal);
    } catch (const UsageError& error) {
        err << "vernalith-cli: " << error.what() << " (vernalith-cli --help shows the usage)\n";
        return 2;
    } catch (const std::exception& error) {
        err << "vernalith-cli: " << error.what() << '\n';
        return 1;
    }
}

}  // namespace vernalith
