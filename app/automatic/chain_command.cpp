#include "app/automatic/chain_command.h"

#include <QProgressBar>

#include "app/automatic/list_editor_window.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/settings/function_settings_window.h"
#include "app/ui_services.h"
#include "automatic/chain.h"

namespace vernalith {
namespace {

void ToolButton36Click(MainWindow& main) {
    // The chain is read through the settings, as the list editor's `ListBox2` holds it at that moment.
    const SettingsChain chain(main.settings());
    if (chain.Entries().empty()) {
        main.ui().ShowMessage(&main, ToQString(kEmptyChainMessage));
        return;
    }
    // The chain shows only the entry gauge; Gauge1 stays hidden afterwards.
    main.progressPanel()->gauge1()->hide();
    // The chain runs on a worker: it reads its entries, as every procedure its settings, from the copy
    // of the settings taken when it starts.
    main.runner().WholeTextCommand(main.action("ToolButton36"),
                                   [](const std::u16string& text, ProcedureContext& context) {
                                       const SettingsChain entries(context.settings);
                                       return automatic(text, entries, context);
                                   },
                                   false, {.thread = CommandRunner::Thread::Worker, .stopOfferedAtOnce = true});
}

}  // namespace

void AttachAutomaticProcessing(MainWindow& main, ListEditorWindow& listEditor,
                               FunctionSettingsWindow& functionSettings) {
    main.SetHandler("ToolButton36Click", [&main] { ToolButton36Click(main); });
    main.SetHandler("N28Click", [&listEditor] { listEditor.ShowModal(); });
    listEditor.SetFunctionSettingsOpener([&functionSettings] { functionSettings.OpenAtLastPage(); });
}

}  // namespace vernalith
