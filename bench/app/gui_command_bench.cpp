// The whole "удаление лишних пробелов" command in the program: read the editor, run the procedure,
// replace the editor text; and the editor's whole-text read and replace on their own.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>

#include "app/application.h"
#include "app/bench_program.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/ui_services.h"
#include "core/random.h"
#include "sample_text.h"

namespace vernalith::bench {
namespace {

void WholeCommand(benchmark::State& state) {
    Program program;
    MainWindow& window = *program.windows->form1;
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    for (auto _ : state) {
        state.PauseTiming();
        window.editor()->ReplaceText(text);
        state.ResumeTiming();
        window.action("ToolButton22")->trigger();
    }
    SetTextBytes(state, text);
}

void EditorRead(benchmark::State& state) {
    Editor editor;
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    editor.ReplaceText(text);
    for (auto _ : state) benchmark::DoNotOptimize(editor.Text());
    SetTextBytes(state, text);
}

void EditorReplace(benchmark::State& state) {
    Editor editor;
    const std::u16string text = SampleText(static_cast<size_t>(state.range(0)) * kMB);
    for (auto _ : state) editor.ReplaceText(text);
    SetTextBytes(state, text);
}

BENCHMARK(WholeCommand)->Name("GuiRemoveExtraSpacesCommand")->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorRead)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorReplace)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vernalith::bench

int main(int argc, char** argv) { return vernalith::bench::RunProgramBenchmarks(argc, argv); }
