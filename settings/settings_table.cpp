#include "settings/settings_table.h"

#include <array>

#include "automatic/procedure_table.h"
#include "core/line_list.h"

namespace vernalith {
namespace {

using F = SettingsFile;
using K = FieldKind;
using S = Setting;

constexpr std::string_view kHeadingLevelItems[] = {"H1", "H21", "H31", "H41", "H51"};
constexpr std::string_view kHighlighterItems[] = {"N25", "css1", "htm1", "mysql1"};

// One setting a row: its name, where it is stored, its default and the field that shows it. The
// function settings' fields are named after their settings.
// clang-format off
constexpr SettingInfo kSettings[] = {
    {S::RemoveList, "RemoveList", F::Options1Txt, 0, u"Memo1", {"TForm6", "RemoveList", K::ListField}},
    {S::ReplaceList, "ReplaceList", F::Options2Txt, 0, u"Memo2", {"TForm6", "ReplaceList", K::ListField}},
    // The default chain comes from the procedure table (SettingDefault).
    {S::ProcedureChain, "ProcedureChain", F::Options3Txt, 0, u"", {"TForm7", "ListBox2", K::ChainList}},
    {S::ToolBar6Shown, "ToolBar6Shown", F::OptionsIni, 1, u"0", {"TForm1", "ToolBar6", K::ToolBarState}},
    {S::ToolBar7Shown, "ToolBar7Shown", F::OptionsIni, 2, u"0", {"TForm1", "ToolBar7", K::ToolBarState}},
    {S::ToolBar8Shown, "ToolBar8Shown", F::OptionsIni, 3, u"0", {"TForm1", "ToolBar8", K::ToolBarState}},
    {S::DuplicateHeading, "DuplicateHeading", F::OptionsIni, 4, u"0", {"TForm1", "N33", K::MenuMark}},
    {S::HeadingLevel, "HeadingLevel", F::OptionsIni, 5, u"0",
     {"TForm1", "ToolButton46", K::MenuChoice, kHeadingLevelItems}},
    {S::HighlightingEnabled, "HighlightingEnabled", F::OptionsIni, 6, u"1", {"TForm1", "ToolButton37", K::ButtonState}},
    {S::HighlighterChoice, "HighlighterChoice", F::OptionsIni, 7, u"0",
     {"TForm1", "ToolButton37", K::MenuChoice, kHighlighterItems}},
    {S::HotkeyTagOpenF5, "HotkeyTagOpenF5", F::Options2Ini, 1, u"<h2>", {"TForm3", "Edit1", K::LineField}},
    {S::HotkeyTagOpenF6, "HotkeyTagOpenF6", F::Options2Ini, 2, u"<h3>", {"TForm3", "Edit2", K::LineField}},
    {S::HotkeyTagOpenF7, "HotkeyTagOpenF7", F::Options2Ini, 3, u"<a href=\"\">", {"TForm3", "Edit3", K::LineField}},
    {S::HotkeyTagOpenF8, "HotkeyTagOpenF8", F::Options2Ini, 4, u"<b>", {"TForm3", "Edit4", K::LineField}},
    {S::HotkeyTagCloseF5, "HotkeyTagCloseF5", F::Options2Ini, 5, u"</h2>", {"TForm3", "Edit5", K::LineField}},
    {S::HotkeyTagCloseF6, "HotkeyTagCloseF6", F::Options2Ini, 6, u"</h3>", {"TForm3", "Edit6", K::LineField}},
    {S::HotkeyTagCloseF7, "HotkeyTagCloseF7", F::Options2Ini, 7, u"</a>", {"TForm3", "Edit7", K::LineField}},
    {S::HotkeyTagCloseF8, "HotkeyTagCloseF8", F::Options2Ini, 8, u"</b>", {"TForm3", "Edit8", K::LineField}},
    {S::CustomCountTag, "CustomCountTag", F::Options2Ini, 9, u"<h4>", {"TForm5", "Edit1", K::LineField}},
    {S::ReplaceSeparator, "ReplaceSeparator", F::Options2Ini, 10, u",", {"TForm6", "ReplaceSeparator", K::LineField}},
    {S::ArticleMinChars, "ArticleMinChars", F::Options2Ini, 11, u"1400", {"TForm6", "ArticleMinChars", K::LineField}},
    {S::ArticleMaxChars, "ArticleMaxChars", F::Options2Ini, 12, u"1700", {"TForm6", "ArticleMaxChars", K::LineField}},
    {S::HeadingOpenTag, "HeadingOpenTag", F::Options2Ini, 13, u"<h1>", {"TForm6", "HeadingOpenTag", K::LineField}},
    {S::HeadingCloseTag, "HeadingCloseTag", F::Options2Ini, 14, u"</h1>", {"TForm6", "HeadingCloseTag", K::LineField}},
    {S::HeadingLength, "HeadingLength", F::Options2Ini, 15, u"37", {"TForm6", "HeadingLength", K::LineField}},
    {S::LinePrefix, "LinePrefix", F::Options2Ini, 16, u"", {"TForm6", "LinePrefix", K::LineField}},
    {S::LineSuffix, "LineSuffix", F::Options2Ini, 17, u".", {"TForm6", "LineSuffix", K::LineField}},
    {S::FootnoteStart, "FootnoteStart", F::Options2Ini, 18, u"(см. рис", {"TForm6", "FootnoteStart", K::LineField}},
    {S::FootnoteEnd, "FootnoteEnd", F::Options2Ini, 19, u")", {"TForm6", "FootnoteEnd", K::LineField}},
};
// clang-format on

constexpr HotkeyTagPair kHotkeyTagPairs[] = {
    {"F5", S::HotkeyTagOpenF5, S::HotkeyTagCloseF5},
    {"F6", S::HotkeyTagOpenF6, S::HotkeyTagCloseF6},
    {"F7", S::HotkeyTagOpenF7, S::HotkeyTagCloseF7},
    {"F8", S::HotkeyTagOpenF8, S::HotkeyTagCloseF8},
};

// Checked when the program is compiled: one row per setting, in the order of `Setting`.
constexpr bool CoversEverySetting() {
    if (std::size(kSettings) != static_cast<size_t>(S::Count)) return false;
    for (size_t i = 0; i < std::size(kSettings); ++i) {
        if (kSettings[i].id != static_cast<S>(i)) return false;
    }
    return true;
}
static_assert(CoversEverySetting(), "the settings table needs exactly one row per Setting, in enum order");

}  // namespace

std::span<const SettingInfo> SettingsTable() { return kSettings; }

const SettingInfo& SettingInfoOf(Setting setting) { return kSettings[static_cast<size_t>(setting)]; }

const SettingInfo* FindSetting(std::string_view name) {
    for (const auto& info : kSettings) {
        if (info.name == name) return &info;
    }
    return nullptr;
}

const char* SettingsFileName(SettingsFile file) {
    switch (file) {
        case SettingsFile::Options1Txt:
            return "options1.txt";
        case SettingsFile::Options2Txt:
            return "options2.txt";
        case SettingsFile::Options3Txt:
            return "options3.txt";
        case SettingsFile::OptionsIni:
            return "options.ini";
        case SettingsFile::Options2Ini:
            return "options2.ini";
    }
    return "";
}

std::u16string SettingDefault(Setting setting) {
    if (setting == Setting::ProcedureChain) return JoinLines(DefaultProcedureChain());
    return std::u16string(SettingInfoOf(setting).defaultValue);
}

std::span<const HotkeyTagPair> HotkeyTagPairs() { return kHotkeyTagPairs; }

std::u16string SettingValues::Value(Setting setting) const {
    if (auto it = overrides_.find(setting); it != overrides_.end()) return it->second;
    return SettingDefault(setting);
}

SettingValues CopyOfSettings(const SettingsSource& source) {
    SettingValues copy;
    for (const SettingInfo& info : kSettings) copy.Set(info.id, source.Value(info.id));
    return copy;
}

}  // namespace vernalith
