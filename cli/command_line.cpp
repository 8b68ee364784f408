#include "cli/command_line.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <random>
#include <thread>

#include "automatic/chain.h"
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
        ClearPercent();
        Show(true);
    }
    void Clear() {
        if (enabled_ && shown_) Say(fd_, "\r\x1b[K");
        shown_ = false;
    }

    void SetStatusCaption(std::u16string_view text) override {
        if (!enabled_) return;
        caption_ = EncodeUtf8(text);
        Show(false);
    }
    void ReportPercent(int percent) override { ShowPercent(percent); }
    void ReportPercentSpaced(int percent) override { ShowPercent(percent); }
    void ClearPercent() override {
        percent_.clear();
        shownPercent_ = -1;
    }
    void SetGauge(Gauge, int) override {}
    void ShowProgressPanel() override {}
    void HideProgressPanel() override {}
    void PumpEvents() override {}

private:
    // Procedures report as often as every line; the line is rebuilt only when its figure changes.
    void ShowPercent(int percent) {
        if (!enabled_ || percent == shownPercent_) return;
        shownPercent_ = percent;
        const auto filled = static_cast<size_t>(std::clamp(percent, 0, 100) / 5);
        percent_ =
            " [" + std::string(filled, '#') + std::string(20 - filled, '.') + "] " + std::to_string(percent) + "%";
        Show(false);
    }
    // A terminal line redrawn more often than every 50 ms shows nothing more, and on a slow terminal
    // the writes would cost more than the work; a new step is always shown.
    void Show(bool now) {
        if (!enabled_) return;
        const auto time = std::chrono::steady_clock::now();
        if (!now && shown_ && time - lastShown_ < std::chrono::milliseconds(50)) return;
        lastShown_ = time;
        Say(fd_, "\r\x1b[K" + step_ + caption_ + percent_);
        shown_ = true;
    }

    int fd_;
    bool enabled_;
    bool shown_ = false;
    int shownPercent_ = -1;
    std::chrono::steady_clock::time_point lastShown_;
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

// Runs the steps in order over `text`, each on the previous one's result; `automatic` runs the chain
// of the chain file, or else the one the settings hold. Returns whether the last step was a report.
bool RunSteps(const Options& options, std::u16string& text, ProcedureContext& context, TerminalProgress* progress) {
    bool report = false;
    for (size_t i = 0; i < options.procedures.size(); ++i) {
        if (progress) progress->StartStep(i + 1, options.procedures.size());
        const ProcedureRow* row = options.procedures[i];
        if (row) {
            text = RunProcedure(row->id, text, context);
            report = row->report;
        } else if (options.chain) {
            text = automatic(text, FixedChain(*options.chain), context);
            report = false;
        } else {
            text = automatic(text, SettingsChain(options.settings), context);
            report = false;
        }
    }
    return report;
}

std::string NotUtf8Warning(const std::string& inputName, size_t at) {
    return kProgram + inputName + " is not valid UTF-8 (first invalid byte at offset " + std::to_string(at) +
           "): read as cp1251\n";
}

// Encodes the result as the options ask and hands it on piece by piece; returns the warning about
// characters cp1251 lacks, or nothing.
std::string WriteResult(const Options& options, std::u16string& text, bool report, const std::string& outputName,
                        const std::function<void(std::string_view)>& write) {
    // The editor's line breaks are applied while encoding; a report's pairs of LF CR first.
    if (report && !options.rawText) text = ReportWithCrLfBreaks(text);
    const EncodeLosses losses = EncodeText(text, options.outEncoding, !options.rawText, options.lfBreaks, write);
    if (losses.replaced == 0) return {};
    return kProgram + std::to_string(losses.replaced) + " character" + (losses.replaced == 1 ? "" : "s") +
           " that cp1251 lacks written as '?' in " + outputName + " (the first at " +
           LineAndColumn(text, losses.firstAt) + ")\n";
}

uint64_t RandomSeed() {
    std::random_device device;
    return (uint64_t{device()} << 32) | device();
}

int Run(Options& options, int inFd, int outFd, int errFd, bool errIsTerminal) {
    const std::string inputPath = options.inputPaths.empty() ? "-" : options.inputPaths.front();
    const bool fromStdin = inputPath == "-";
    const std::string inputName = fromStdin ? "standard input" : Quoted(inputPath);
    ByteBuffer bytes = fromStdin ? ReadAllBytes(inFd, inputName) : ReadFileBytes(inputPath);
    DecodedText decoded = DecodeFileBytes(bytes.View(), options.inEncoding, !options.rawText);
    bytes.Release();
    if (decoded.notUtf8At) Say(errFd, NotUtf8Warning(inputName, *decoded.notUtf8At));
    std::u16string text = std::move(decoded.text);

    // The output file is opened before the work, so a folder that does not exist is found at once.
    const bool toStdout = options.outputPath.empty() || options.outputPath == "-";
    std::unique_ptr<SafeOutputFile> file;
    if (!toStdout) file = std::make_unique<SafeOutputFile>(options.outputPath);

    SeededRandom random(options.seed.value_or(RandomSeed()));
    TerminalProgress progress(errFd, errIsTerminal);
    ProcedureContext context{options.settings, progress, random};
    bool report = false;
    try {
        report = RunSteps(options, text, context, &progress);
    } catch (const ProcedureError& error) {
        progress.Clear();
        Say(errFd, kProgram + EncodeUtf8(error.message()) + '\n');
        return 1;
    }
    progress.Clear();

    const std::string outputName = toStdout ? "standard output" : Quoted(options.outputPath);
    const std::string warning = WriteResult(options, text, report, outputName, [&](std::string_view piece) {
        if (file) {
            file->Write(piece);
        } else {
            WriteAllBytes(outFd, piece, outputName);
        }
    });
    if (file) file->Commit();
    Say(errFd, warning);
    return 0;
}

// One input of several: read, run through the steps with its own random numbers and written whole to
// the output folder under its file name. Its messages are gathered in `messages`; false when it failed.
bool ProcessFile(const Options& options, const std::string& inputPath, uint64_t seed, std::string& messages) {
    const std::string inputName = Quoted(inputPath);
    try {
        DecodedText decoded;
        {
            ByteBuffer bytes = ReadFileBytes(inputPath);
            decoded = DecodeFileBytes(bytes.View(), options.inEncoding, !options.rawText);
        }
        if (decoded.notUtf8At) messages += NotUtf8Warning(inputName, *decoded.notUtf8At);
        std::u16string text = std::move(decoded.text);

        const std::string outputPath =
            (std::filesystem::path(options.outputDir) / std::filesystem::path(inputPath).filename()).string();
        SafeOutputFile file(outputPath);
        SeededRandom random(seed);
        SilentProgress progress;
        ProcedureContext context{options.settings, progress, random};
        const bool report = RunSteps(options, text, context, nullptr);
        messages +=
            WriteResult(options, text, report, Quoted(outputPath), [&](std::string_view piece) { file.Write(piece); });
        file.Commit();
        return true;
    } catch (const FileError& error) {
        messages += kProgram + std::string(error.what()) + '\n';
    } catch (const ProcedureError& error) {
        messages += kProgram + inputName + ": " + EncodeUtf8(error.message()) + '\n';
    } catch (const std::bad_alloc&) {
        messages += kProgram + inputName + ": not enough memory for this text\n";
    } catch (const std::exception& error) {
        messages += kProgram + inputName + ": " + error.what() + '\n';
    }
    return false;
}

// Several inputs, each to the output folder, on as many workers as the machine has cores. A file
// that fails is named on standard error and the others go on; on a terminal one line shows how many
// files are done.
int RunMany(const Options& options, int errFd, bool errIsTerminal) {
    const size_t total = options.inputPaths.size();
    std::error_code error;
    if (!std::filesystem::is_directory(options.outputDir, error)) {
        throw FileError("cannot write to " + Quoted(options.outputDir) + ": not a folder");
    }
    std::mutex lock;  // guards the counters, the seeds and standard error
    size_t next = 0, done = 0, failed = 0;
    bool lineShown = false;
    std::random_device device;
    auto showDone = [&] {
        if (!errIsTerminal) return;
        Say(errFd, "\r\x1b[K" + std::to_string(done) + " of " + std::to_string(total) + " files done");
        lineShown = true;
    };
    auto worker = [&] {
        for (;;) {
            size_t index;
            uint64_t seed;
            {
                std::lock_guard guard(lock);
                if (next == total) return;
                index = next++;
                seed = options.seed.value_or((uint64_t{device()} << 32) | device());
            }
            std::string messages;
            const bool ok = ProcessFile(options, options.inputPaths[index], seed, messages);
            std::lock_guard guard(lock);
            if (!messages.empty()) {
                if (lineShown) Say(errFd, "\r\x1b[K");
                Say(errFd, messages);
            }
            ++done;
            if (!ok) ++failed;
            showDone();
        }
    };
    {
        std::lock_guard guard(lock);
        showDone();
    }
    const size_t workers = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, total);
    std::vector<std::thread> threads;
    for (size_t i = 1; i < workers; ++i) threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads) thread.join();
    if (lineShown) Say(errFd, "\r\x1b[K");
    return failed > 0 ? 1 : 0;
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
            if (!options.outputDir.empty()) return RunMany(options, errFd, errIsTerminal);
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
