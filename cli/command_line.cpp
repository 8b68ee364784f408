#include "cli/command_line.h"

#include <algorithm>
#include <memory>
#include <new>
#include <random>

#include "automatic/procedure_runners.h"
#include "automatic/procedure_table.h"
#include "cli/options.h"
#include "core/byte_io.h"
#include "core/encoding.h"
#include "core/fast_transcode.h"
#include "core/procedure_error.h"

namespace vernalith {
namespace {

constexpr const char* kProgram = "vernalith-cli: ";

// Writes to a descriptor, ignoring failures: for messages on standard error.
void Say(int fd, const std::string& text) {
    try {
        WriteAllBytes(fd, text, "standard error");
    } catch (const FileError&) {
    }
}

// Progress on standard error: one line, rewritten in place, only when it is a terminal. It shows the
// step of a chain ("step 2 of 3"), the procedure's caption and its percentage, and is wiped before
// anything else is written, so it never mixes into a message or the result.
class TerminalProgress : public ProgressReporter {
public:
    TerminalProgress(int fd, bool enabled) : fd_(fd), enabled_(enabled) {}
    ~TerminalProgress() override { Clear(); }

    void StartStep(size_t step, size_t steps) {
        step_ = steps > 1 ? "step " + std::to_string(step) + " of " + std::to_string(steps) + " " : "";
        caption_.clear();
        percent_.clear();
        Show();
    }
    void Clear() {
        if (enabled_ && shown_) Say(fd_, "\r\x1b[K");
        shown_ = false;
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
        const auto filled = static_cast<size_t>(std::clamp(percent, 0, 100) / 5);
        std::string text =
            " [" + std::string(filled, '#') + std::string(20 - filled, '.') + "] " + std::to_string(percent) + "%";
        if (text == percent_) return;
        percent_ = std::move(text);
        Show();
    }
    void Show() {
        if (!enabled_) return;
        Say(fd_, "\r\x1b[K" + step_ + caption_ + percent_);
        shown_ = true;
    }

    int fd_;
    bool enabled_;
    bool shown_ = false;
    std::string step_;
    std::string caption_;
    std::string percent_;
};

void ListProcedures(int outFd) {
    std::string text;
    for (const ProcedureRow& info : ProcedureTable()) {
        text += info.name;
        if (!info.caption.empty()) text += '\t' + EncodeUtf8(info.caption);
        text += '\n';
    }
    WriteAllBytes(outFd, text, "standard output");
}

// A report's lines end with LF CR (as the message box takes them) or CR LF; each such pair, and a
// lone CR or LF, becomes one CR LF.
std::u16string ReportWithCrLfBreaks(std::u16string_view report) {
    std::u16string out;
    out.reserve(report.size() + 16);
    for (size_t i = 0; i < report.size(); ++i) {
        const char16_t c = report[i];
        if (c != u'\r' && c != u'\n') {
            out.push_back(c);
            continue;
        }
        if (i + 1 < report.size() && (report[i + 1] == u'\r' || report[i + 1] == u'\n') && report[i + 1] != c) ++i;
        out.append(u"\r\n");
    }
    return out;
}

// "line 3, column 7" of a position in the text (lines end at CR LF, a lone CR or a lone LF).
std::string LineAndColumn(std::u16string_view text, size_t at) {
    size_t line = 1, lineStart = 0;
    for (size_t i = 0; i < at && i < text.size(); ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && !(i + 1 < text.size() && text[i + 1] == u'\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(at - lineStart + 1);
}

int Run(Options& options, int inFd, int outFd, int errFd, bool errIsTerminal) {
    const bool fromStdin = options.inputPath.empty() || options.inputPath == "-";
    const std::string inputName = fromStdin ? "standard input" : Quoted(options.inputPath);
    ByteBuffer bytes = fromStdin ? ReadAllBytes(inFd, inputName) : ReadFileBytes(options.inputPath);
    DecodedText decoded = DecodeFileBytes(bytes.View(), options.inEncoding, !options.rawText);
    bytes.Release();
    if (decoded.notUtf8At) {
        Say(errFd, kProgram + inputName + " is not valid UTF-8 (first invalid byte at offset " +
                       std::to_string(*decoded.notUtf8At) + "): read as cp1251\n");
    }
    std::u16string text = std::move(decoded.text);

    // The output file is opened before the work, so a folder that does not exist is found at once.
    const bool toStdout = options.outputPath.empty() || options.outputPath == "-";
    std::unique_ptr<SafeOutputFile> file;
    if (!toStdout) file = std::make_unique<SafeOutputFile>(options.outputPath);

    std::random_device device;
    SeededRandom random(options.seed.value_or((uint64_t{device()} << 32) | device()));
    TerminalProgress progress(errFd, errIsTerminal);
    ProcedureContext context{options.settings, progress, random};
    bool report = false;
    try {
        for (size_t i = 0; i < options.procedures.size(); ++i) {
            progress.StartStep(i + 1, options.procedures.size());
            text = RunProcedure(options.procedures[i]->id, text, context);
            report = options.procedures[i]->report;
        }
    } catch (const ProcedureError& error) {
        progress.Clear();
        Say(errFd, kProgram + EncodeUtf8(error.message()) + '\n');
        return 1;
    }
    progress.Clear();
    // The editor's line breaks are applied while encoding; a report's pairs of LF CR first.
    if (report && !options.rawText) text = ReportWithCrLfBreaks(text);

    const std::string outputName = toStdout ? "standard output" : Quoted(options.outputPath);
    const EncodeLosses losses =
        EncodeText(text, options.outEncoding, !options.rawText, options.lfBreaks, [&](std::string_view piece) {
            if (file) {
                file->Write(piece);
            } else {
                WriteAllBytes(outFd, piece, outputName);
            }
        });
    if (file) file->Commit();
    if (losses.replaced > 0) {
        Say(errFd, kProgram + std::to_string(losses.replaced) + " character" + (losses.replaced == 1 ? "" : "s") +
                       " that cp1251 lacks written as '?' in " + outputName + " (the first at " +
                       LineAndColumn(text, losses.firstAt) + ")\n");
    }
    return 0;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, int inFd, int outFd, int errFd, bool errIsTerminal) {
    try {
        Options options = ParseOptions(args);
        if (options.showHelp) {
            WriteAllBytes(outFd, HelpText(), "standard output");
        } else if (options.showVersion) {
            WriteAllBytes(outFd, std::string("vernalith-cli ") + VERNALITH_VERSION + "\n", "standard output");
        } else if (options.listProcedures) {
            ListProcedures(outFd);
        } else if (options.listSettings) {
            WriteAllBytes(outFd, SettingsListing(), "standard output");
        } else {
            return Run(options, inFd, outFd, errFd, errIsTerminal);
        }
        return 0;
    } catch (const UsageError& error) {
        Say(errFd, kProgram + std::string(error.what()) + " (vernalith-cli --help shows the usage)\n");
        return 2;
    } catch (const FileError& error) {
        Say(errFd, kProgram + std::string(error.what()) + "\n");
        return 1;
    } catch (const std::bad_alloc&) {
        Say(errFd, std::string(kProgram) + "not enough memory for this text\n");
        return 1;
    } catch (const std::exception& error) {
        Say(errFd, kProgram + std::string(error.what()) + "\n");
        return 1;
    }
}

}  // namespace vernalith
