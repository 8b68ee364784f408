#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "core/settings_source.h"

namespace vernalith {

// Where a setting is kept between runs: a text-lines file, or a record of one of the record files.
enum class SettingsFile { Options1Txt, Options2Txt, Options3Txt, OptionsIni, Options2Ini };

// How the window shows a setting.
enum class FieldKind {
    LineField,     // a one-line text field: its text
    ListField,     // a multi-line text field: its lines joined by CR LF
    ChainList,     // a list box: its entries joined by CR LF
    MenuMark,      // a drop-down item's check mark: "1" marked, "0" not
    MenuChoice,    // one of several drop-down items marked: "1" to "n" for the marked one, "0" for none
    ToolBarState,  // an optional tool bar: "1" shown, "0" hidden
    ButtonState,   // a two-state button: "1" on, "0" off
};

// The field that shows a setting while the program runs: the window's object name ("TForm6"), the
// control's object name in it, and, for a menu choice, the items in value order ("1" is the first).
struct SettingField {
    std::string_view window;
    std::string_view object;
    FieldKind kind;
    std::span<const std::string_view> choices = {};
};

struct SettingInfo {
    Setting id;
    std::string_view name;  // as the command-line tool's --set names it
    SettingsFile file;
    int record;  // 1-based record in a record file; 0 for a text-lines file
    // The default; read it through SettingDefault, which also knows the default procedure chain.
    std::u16string_view defaultValue;
    SettingField field;
};

// Every setting, in the order of the files and their records (which is also the order of `Setting`).
std::span<const SettingInfo> SettingsTable();

const SettingInfo& SettingInfoOf(Setting setting);
const SettingInfo* FindSetting(std::string_view name);
const char* SettingsFileName(SettingsFile file);
// The value a setting has before its file is read.
std::u16string SettingDefault(Setting setting);

// The tag pairs of the hot keys F5 to F8.
struct HotkeyTagPair {
    std::string_view key;  // "F5"
    Setting open, close;
};
std::span<const HotkeyTagPair> HotkeyTagPairs();

// The defaults, with values set by name on top: the settings of a batch run.
class SettingValues : public SettingsSource {
public:
    std::u16string Value(Setting setting) const override;
    void Set(Setting setting, std::u16string value) { overrides_[setting] = std::move(value); }

private:
    std::map<Setting, std::u16string> overrides_;
};

// Every setting's current value in `source`, copied: what a procedure running away from the fields
// that hold the settings reads.
SettingValues CopyOfSettings(const SettingsSource& source);

}  // namespace vernalith
