#include "app/markup_commands.h"

#include <QAction>
#include <QToolButton>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/command_failure.h"
#include "app/custom_tag_window.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/text_info_window.h"
#include "app/ui_services.h"
#include "markup/headings.h"
#include "markup/tag_count.h"
#include "markup/tag_wrapping.h"
#include "markup/text_info.h"

namespace vernalith {
namespace {

// The level items h1 to h5 of the headings menu, in level order.
constexpr std::array<std::string_view, 5> kLevelItems = {"H1", "H21", "H31", "H41", "H51"};
constexpr std::string_view kDuplicateItem = "N33";

struct TagPair {
    std::string_view handler;
    Setting open, close;
};
constexpr std::array<TagPair, 4> kTagKeys = {{
    {"Action1Execute", Setting::HotkeyTagOpenF5, Setting::HotkeyTagCloseF5},
    {"Action2Execute", Setting::HotkeyTagOpenF6, Setting::HotkeyTagCloseF6},
    {"Action3Execute", Setting::HotkeyTagOpenF7, Setting::HotkeyTagCloseF7},
    {"Action4Execute", Setting::HotkeyTagOpenF8, Setting::HotkeyTagCloseF8},
}};

// The heading level setting as the marks show it: "1" to "5" for the marked item (the last marked
// one of h1 to h5 if several are), "0" when none is.
std::u16string MarkedLevel(const MainWindow& window) {
    std::u16string level = u"0";
    for (size_t i = 0; i < kLevelItems.size(); ++i) {
        if (window.IsMarked(kLevelItems[i])) level = std::u16string(1, static_cast<char16_t>(u'1' + i));
    }
    return level;
}

// Marks the item of the level "1" to "5" and unmarks the others; any other value unmarks all.
void MarkLevel(MainWindow& window, std::u16string_view level) {
    const std::u16string text = HeadingLevelText(level);
    for (size_t i = 0; i < kLevelItems.size(); ++i) {
        window.SetMarked(kLevelItems[i], !text.empty() && text[0] == static_cast<char16_t>(u'1' + i));
    }
}

void InsertHeading(MainWindow& window) {
    Editor& editor = *window.editor();
    if (!editor.HasInputFocus()) return;
    window.TakeUndoSnapshot();
    const std::u16string level = HeadingLevelText(MarkedLevel(window));
    const bool duplicate = window.IsMarked(kDuplicateItem);
    // The snapshot is the whole editor text as it stands.
    ApplyEditPlan(editor, PlanHeadingInsertion(window.UndoSnapshot(), editor.SelectionStart(), editor.SelectionLength(),
                                               level, duplicate));
}

void WrapSelection(MainWindow& window, const TagPair& pair) {
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

void AttachMarkupCommands(MainWindow& window, TextInfoWindow& textInfo, CustomTagWindow& customTag) {
    // Headings. A click on the button leaves the keyboard focus where it was, so the command finds
    // the editor focused when the user was working in it.
    if (QToolButton* headings = window.toolButton("ToolButton46")) headings->setFocusPolicy(Qt::NoFocus);
    window.SetHandler("Action5Execute", [&window] { InsertHeading(window); });
    window.SetHandler("ToolButton46Click", [&window] { InsertHeading(window); });
    for (size_t i = 0; i < kLevelItems.size(); ++i) {
        const std::u16string level(1, static_cast<char16_t>(u'1' + i));
        window.SetHandler(std::string(kLevelItems[i]) + "Click", [&window, level] { MarkLevel(window, level); });
    }
    window.SetHandler("N33Click", [&window] { window.SetMarked(kDuplicateItem, !window.IsMarked(kDuplicateItem)); });
    // No level and no duplicate at first, until saved settings say otherwise.
    MarkLevel(window, u"0");
    window.SetMarked(kDuplicateItem, false);
    window.settings().Bind(
        Setting::HeadingLevel, [&window] { return MarkedLevel(window); },
        [&window](const std::u16string& value) { MarkLevel(window, value); });
    window.settings().Bind(
        Setting::DuplicateHeading, [&window] { return std::u16string(window.IsMarked(kDuplicateItem) ? u"1" : u"0"); },
        [&window](const std::u16string& value) { window.SetMarked(kDuplicateItem, value == u"1"); });

    // Tag hot keys.
    for (const TagPair& pair : kTagKeys) {
        window.SetHandler(pair.handler, [&window, &pair] { WrapSelection(window, pair); });
    }

    // Tag counting with the custom tag of TForm5.
    customTag.BindSettings(window.settings());
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
