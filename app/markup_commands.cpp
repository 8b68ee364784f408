#include "app/markup_commands.h"

#include <QAction>
#include <QToolButton>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/command_failure.h"
#include "app/command_map.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/text_info_window.h"
#include "app/ui_services.h"
#include "markup/headings.h"
#include "markup/tag_count.h"
#include "markup/tag_wrapping.h"
#include "markup/text_info.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

constexpr std::string_view kDuplicateItem = "N33";

// The hot-key row of the command map that wraps the selection in a tag pair (its key is the pair's).
const CommandSpec& HotKeyOf(const HotkeyTagPair& pair) {
    for (const CommandSpec& command : CommandMap()) {
        if (command.place == Place::HotKey && command.shortcut == pair.key) return command;
    }
    throw std::logic_error("no hot key for a tag pair");
}

void InsertHeading(MainWindow& window) {
    Editor& editor = *window.editor();
    if (!editor.HasInputFocus()) return;
    window.runner().TakeUndoSnapshot();
    const std::u16string level = HeadingLevelText(window.settings().Value(Setting::HeadingLevel));
    const bool duplicate = window.settings().Value(Setting::DuplicateHeading) == u"1";
    // The snapshot is the whole editor text as it stands.
    ApplyEditPlan(editor, PlanHeadingInsertion(window.runner().UndoSnapshot(), editor.SelectionStart(),
                                               editor.SelectionLength(), level, duplicate));
}

void WrapSelection(MainWindow& window, const HotkeyTagPair& pair) {
    Editor& editor = *window.editor();
    if (!editor.HasInputFocus()) return;
    const std::u16string open = window.settings().Value(pair.open);
    const std::u16string close = window.settings().Value(pair.close);
    // Wrapping looks at nothing but the selected text, so the plan is made on that alone (no need to
    // read a long text whole for one key press) and its caret position is moved to where the
    // selection starts.
    const size_t start = editor.SelectionStart();
    const std::u16string selected = editor.SelectedText();
    EditPlan plan = PlanTagWrapping(selected, 0, selected.size(), open, close);
    for (EditStep& step : plan) {
        if (step.kind == EditStep::Kind::SetSelectionStart) step.amount += start;
    }
    ApplyEditPlan(editor, plan);
}

// Runs a read-only analysis; a failure is shown in the error box and ends the command.
void RunAnalysis(MainWindow& window, const std::function<void()>& run) {
    const QString failure = RunCatchingFailure(run);
    if (!failure.isEmpty()) window.ui().ShowError(&window, failure);
}

void CountTagsCommand(MainWindow& window) {
    QAction* button = window.action("ToolButton19");
    const std::u16string customTag = window.settings().Value(Setting::CustomCountTag);
    // The button stays disabled until the message box is closed, so no second count starts meanwhile.
    button->setEnabled(false);
    RunAnalysis(window, [&] {
        const TagCounts counts = CountTags(window.editor()->Text(), customTag, window.progress());
        window.ui().ShowMessage(&window, ToQString(TagCountMessage(counts)));
    });
    button->setEnabled(true);
    window.progress().ClearPercent();
}

void TextInformationCommand(MainWindow& window, TextInfoWindow& textInfo) {
    textInfo.ClearWords();
    const std::u16string text = window.editor()->Text();
    if (text.empty()) {
        window.ui().ShowMessage(&window, ToQString(kEmptyTextMessage));
        return;
    }
    bool filled = false;
    RunAnalysis(window, [&] {
        if (const std::optional<TextInformation> information = CollectTextInformation(text, window.progress())) {
            textInfo.ShowInformation(*information, window.progress());
            filled = true;
        }
    });
    if (filled) textInfo.ShowModal();
}

}  // namespace

void ApplyEditPlan(Editor& editor, const EditPlan& plan) {
    editor.beginUndoAction();
    for (const EditStep& step : plan) {
        switch (step.kind) {
            case EditStep::Kind::SetSelectionStart:
                editor.SetSelectionStart(step.amount);
                break;
            case EditStep::Kind::SetSelectionLength:
                editor.SetSelectionLength(step.amount);
                break;
            case EditStep::Kind::ReplaceSelection:
                editor.ReplaceSelection(step.text);
                break;
        }
    }
    editor.endUndoAction();
}

void AttachMarkupCommands(MainWindow& window, TextInfoWindow& textInfo) {
    // Headings. A click on the button leaves the keyboard focus where it was, so the command finds
    // the editor focused when the user was working in it.
    if (QToolButton* headings = window.toolButton("ToolButton46")) headings->setFocusPolicy(Qt::NoFocus);
    window.SetHandler("Action5Execute", [&window] { InsertHeading(window); });
    window.SetHandler("ToolButton46Click", [&window] { InsertHeading(window); });
    // The level items h1 to h5 mark their level ("1" to "5") in the heading-level setting.
    const std::span<const std::string_view> levelItems = SettingInfoOf(Setting::HeadingLevel).field.choices;
    for (size_t i = 0; i < levelItems.size(); ++i) {
        const std::u16string level(1, static_cast<char16_t>(u'1' + i));
        window.SetHandler(std::string(levelItems[i]) + "Click",
                          [&window, level] { window.settings().Assign(Setting::HeadingLevel, level); });
    }
    window.SetHandler("N33Click", [&window] { window.SetMarked(kDuplicateItem, !window.IsMarked(kDuplicateItem)); });

    // Tag hot keys.
    for (const HotkeyTagPair& pair : HotkeyTagPairs()) {
        window.SetHandler(HotKeyOf(pair).handler, [&window, &pair] { WrapSelection(window, pair); });
    }

    // Tag counting with the custom tag of TForm5.
    window.SetHandler("ToolButton19Click", [&window] { CountTagsCommand(window); });

    // Text information. A click while a run is already on (possible through the events it lets
    // through) is ignored, so the window is never filled and shown twice for one request.
    auto running = std::make_shared<bool>(false);
    window.SetHandler("ToolButton17Click", [&window, &textInfo, running] {
        if (*running) return;
        *running = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{*running};
        TextInformationCommand(window, textInfo);
    });
}

}  // namespace vernalith
