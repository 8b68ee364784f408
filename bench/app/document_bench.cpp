// The editor document: opening and saving files through the program's own path (file -> decoding ->
// editor, editor -> encoding -> file) with the window on screen, and a key press in a very long line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>

#include "app/application.h"
#include "app/bench_program.h"
#include "app/document/document_commands.h"
#include "app/document/document_files.h"
#include "app/editor.h"
#include "app/event_gaps.h"
#include "app/main_window.h"
#include "app/ui_services.h"
#include "core/encoding.h"
#include "core/random.h"
#include "sample_text.h"

namespace vernalith::bench {
namespace {

// Answers the save dialog with one file and an encoding.
class FixedDialogs : public FileDialogs {
public:
    QString OpenFileName(QWidget*) override { return path; }
    QString SaveFileName(QWidget*, SaveEncoding& chosen) override {
        chosen = encoding;
        return path;
    }
    QString path;
    SaveEncoding encoding = SaveEncoding::Utf8;
};

// Answers the dialogs with FixedDialogs; an error box would mean the benchmark measured nothing.
class DocumentUi : public UiServices {
public:
    void ShowMessage(QWidget*, const QString& text) override { qFatal("%s", qPrintable(text)); }
    void ShowError(QWidget*, const QString& text) override { qFatal("%s", qPrintable(text)); }
    void OpenUrl(const QString&) override {}
    FileDialogs& Files() override { return dialogs; }
    FixedDialogs dialogs;
};

struct Program : ProgramWith<DocumentUi> {
    DocumentCommands& commands() { return *window().findChild<DocumentCommands*>(); }
};

// A Russian text of about `megabytes` MB as a file in `encoding`, CR LF breaks.
std::string FileBytes(size_t megabytes, SaveEncoding encoding) {
    // The sample holds one UTF-16 unit per two bytes; in UTF-8 it takes about 1.4 bytes a unit.
    const std::u16string text = SampleText(megabytes * kMB * (encoding == SaveEncoding::Ansi ? 20 : 14) / 10);
    return encoding == SaveEncoding::Ansi ? EncodeCp1251(text) : EncodeUtf8(text);
}

// The window on screen and painted, as a user has it before opening or saving.
void ShowWindow(Program& program) {
    program.window().resize(1000, 700);
    program.window().show();
    QCoreApplication::processEvents();
}

// Opening a file, with the longest time the window's thread handled no events meanwhile.
void Open(benchmark::State& state, SaveEncoding encoding) {
    Program program;
    QTemporaryDir folder;
    const QString path = folder.filePath("in.txt");
    const std::string bytes = FileBytes(static_cast<size_t>(state.range(0)), encoding);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the sample file");
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    ShowWindow(program);
    EventGaps gaps;
    double longestGapMs = 0;
    for (auto _ : state) {
        gaps.Start();
        program.commands().LoadFile(path);
        longestGapMs = std::max(longestGapMs, gaps.Stop());
    }
    state.counters["longest_gap_ms"] = longestGapMs;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

// Saving the text, with the longest time the window's thread handled no events meanwhile.
void Save(benchmark::State& state, SaveEncoding encoding) {
    Program program;
    ShowWindow(program);
    QTemporaryDir folder;
    const std::string bytes = FileBytes(static_cast<size_t>(state.range(0)), encoding);
    program.window().editor()->ReplaceText(
        Decode(bytes, encoding == SaveEncoding::Ansi ? TextEncoding::Cp1251 : TextEncoding::Utf8));
    program.ui.dialogs.path = folder.filePath("out.txt");
    program.ui.dialogs.encoding = encoding;
    // The text is what is saved.
    if (program.window().editor()->TextLength() == 0) qFatal("nothing to save");
    EventGaps gaps;
    double longestGapMs = 0;
    for (auto _ : state) {
        gaps.Start();
        program.commands().SaveDocument();
        longestGapMs = std::max(longestGapMs, gaps.Stop());
    }
    state.counters["longest_gap_ms"] = longestGapMs;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

// One typed letter (and the repaint that lays the line out) in the middle of a line of
// state.range(0) thousand characters, with the HTML highlighter on as at start (range(1) = 1) or
// highlighting switched off (0).
void KeyPressInLongLine(benchmark::State& state) {
    Program program;
    Editor& editor = *program.window().editor();
    std::u16string line = SampleText(static_cast<size_t>(state.range(0)) * 1000 * 2);
    std::replace(line.begin(), line.end(), u'\r', u' ');
    std::replace(line.begin(), line.end(), u'\n', u' ');
    if (state.range(1) == 0) program.window().Trigger("ToolButton37");
    program.window().resize(1000, 700);
    program.window().show();
    editor.ReplaceText(line);
    editor.setFocus();
    editor.SetSelectionStart(line.size() / 2);
    editor.viewport()->repaint();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(&editor, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(&editor, &release);
        editor.viewport()->repaint();
    }
    state.counters["line_chars"] = static_cast<double>(line.size());
}

BENCHMARK_CAPTURE(Open, Utf8, SaveEncoding::Utf8)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Open, Ansi, SaveEncoding::Ansi)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Save, Utf8, SaveEncoding::Utf8)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Save, Ansi, SaveEncoding::Ansi)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(KeyPressInLongLine)
    ->Args({100, 1})
    ->Args({5000, 1})
    ->Args({5000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace vernalith::bench

int main(int argc, char** argv) { return vernalith::bench::RunProgramBenchmarks(argc, argv); }
