#include "app/settings/setting_fields.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QToolBar>
#include <QtGlobal>
#include <string>
#include <vector>

#include "app/command_map.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/settings/memo_field.h"
#include "core/line_list.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

void ReportMissing(const SettingInfo& info) {
    qCritical("setting %.*s: no field %.*s in %.*s", int(info.name.size()), info.name.data(),
              int(info.field.object.size()), info.field.object.data(), int(info.field.window.size()),
              info.field.window.data());
    Q_ASSERT_X(false, "BindSettingFields", "a setting names a field that does not exist");
}

std::u16string Flag(bool on) { return on ? u"1" : u"0"; }

// "1" to "n" for the marked choice (the last one when several are), "0" when none is.
std::u16string MarkedChoice(const MainWindow& main, std::span<const std::string_view> choices) {
    std::u16string value = u"0";
    for (size_t i = 0; i < choices.size(); ++i) {
        if (main.IsMarked(choices[i])) value = ToU16(QString::number(i + 1));
    }
    return value;
}

// Marks the choice "1" to "n" and unmarks the others; any other value unmarks all.
void MarkChoice(MainWindow& main, std::span<const std::string_view> choices, const std::u16string& value) {
    bool ok = false;
    const int chosen = ToQString(value).toInt(&ok);
    for (size_t i = 0; i < choices.size(); ++i) main.SetMarked(choices[i], ok && chosen == static_cast<int>(i + 1));
}

QWidget* FindWindow(MainWindow& main, std::span<QWidget* const> windows, std::string_view name) {
    if (main.objectName() == Latin1(name)) return &main;
    for (QWidget* window : windows) {
        if (window->objectName() == Latin1(name)) return window;
    }
    return nullptr;
}

// Binds one setting; false when its field does not exist.
bool Bind(MainWindow& main, QWidget& window, const SettingInfo& info) {
    WindowSettings& settings = main.settings();
    const SettingField& field = info.field;
    const QString object = Latin1(field.object);
    switch (field.kind) {
        case FieldKind::LineField: {
            auto* edit = window.findChild<QLineEdit*>(object);
            if (!edit) return false;
            settings.Bind(
                info.id, [edit] { return ToU16(edit->text()); },
                [edit](const std::u16string& value) { edit->setText(ToQString(value)); });
            return true;
        }
        case FieldKind::ListField: {
            auto* memo = window.findChild<MemoField*>(object);
            if (!memo) return false;
            settings.Bind(
                info.id, [memo] { return memo->Text(); },
                [memo](const std::u16string& value) { memo->SetText(value); });
            return true;
        }
        case FieldKind::ChainList: {
            auto* list = window.findChild<QListWidget*>(object);
            if (!list) return false;
            settings.Bind(
                info.id,
                [list] {
                    std::vector<std::u16string> entries;
                    for (int i = 0; i < list->count(); ++i) entries.push_back(ToU16(list->item(i)->text()));
                    return JoinLines(entries);
                },
                [list](const std::u16string& value) {
                    list->clear();
                    for (const std::u16string& entry : SplitLines(value)) list->addItem(ToQString(entry));
                });
            return true;
        }
        case FieldKind::MenuMark: {
            if (!main.action(field.object)) return false;
            const std::string item(field.object);
            settings.Bind(
                info.id, [&main, item] { return Flag(main.IsMarked(item)); },
                [&main, item](const std::u16string& value) { main.SetMarked(item, value == u"1"); });
            return true;
        }
        case FieldKind::MenuChoice: {
            for (std::string_view choice : field.choices) {
                if (!main.action(choice)) return false;
            }
            const auto choices = field.choices;
            settings.Bind(
                info.id, [&main, choices] { return MarkedChoice(main, choices); },
                [&main, choices](const std::u16string& value) { MarkChoice(main, choices, value); });
            return true;
        }
        case FieldKind::ToolBarState: {
            if (!main.toolBar(field.object)) return false;
            const std::string bar(field.object);
            settings.Bind(
                info.id, [&main, bar] { return Flag(main.toolBar(bar)->isVisibleTo(&main)); },
                [&main, bar](const std::u16string& value) { main.SetToolBarShown(bar, value == u"1"); });
            return true;
        }
        case FieldKind::ButtonState: {
            const CommandSpec* button = FindCommand(field.object);
            if (!button || !button->images.used() || !main.action(field.object)) return false;
            settings.Bind(
                info.id, [&main, button] { return Flag(main.ImageIndex(button->control) == button->images.onImage); },
                [&main, button](const std::u16string& value) {
                    main.SetImageIndex(button->control,
                                       value == u"1" ? button->images.onImage : button->images.offImage);
                });
            return true;
        }
    }
    return false;
}

}  // namespace

void BindSettingFields(MainWindow& main, std::span<QWidget* const> windows) {
    for (const SettingInfo& info : SettingsTable()) {
        QWidget* window = FindWindow(main, windows, info.field.window);
        if (!window || !Bind(main, *window, info)) {
            ReportMissing(info);
            continue;
        }
        main.settings().Assign(info.id, SettingDefault(info.id));
    }
}

}  // namespace vernalith
