#include "settings/settings_table.h"

#include <vector>

#include "automatic/catalogue.h"
#include "core/line_list.h"

namespace vernalith {
namespace {

std::vector<SettingInfo> BuildTable() {
    using F = SettingsFile;
    return {
        {Setting::RemoveList, "RemoveList", F::Options1Txt, 0, u"Memo1"},
        {Setting::ReplaceList, "ReplaceList", F::Options2Txt, 0, u"Memo2"},
        {Setting::ProcedureChain, "ProcedureChain", F::Options3Txt, 0, JoinLines(DefaultProcedureChain())},
        {Setting::ToolBar6Shown, "ToolBar6Shown", F::OptionsIni, 1, u"0"},
        {Setting::ToolBar7Shown, "ToolBar7Shown", F::OptionsIni, 2, u"0"},
        {Setting::ToolBar8Shown, "ToolBar8Shown", F::OptionsIni, 3, u"0"},
        {Setting::DuplicateHeading, "DuplicateHeading", F::OptionsIni, 4, u"0"},
        {Setting::HeadingLevel, "HeadingLevel", F::OptionsIni, 5, u"0"},
        {Setting::HighlightingEnabled, "HighlightingEnabled", F::OptionsIni, 6, u"1"},
        {Setting::HighlighterChoice, "HighlighterChoice", F::OptionsIni, 7, u"0"},
        {Setting::HotkeyTagOpenF5, "HotkeyTagOpenF5", F::Options2Ini, 1, u"<h2>"},
        {Setting::HotkeyTagOpenF6, "HotkeyTagOpenF6", F::Options2Ini, 2, u"<h3>"},
        {Setting::HotkeyTagOpenF7, "HotkeyTagOpenF7", F::Options2Ini, 3, u"<a href=\"\">"},
        {Setting::HotkeyTagOpenF8, "HotkeyTagOpenF8", F::Options2Ini, 4, u"<b>"},
        {Setting::HotkeyTagCloseF5, "HotkeyTagCloseF5", F::Options2Ini, 5, u"</h2>"},
        {Setting::HotkeyTagCloseF6, "HotkeyTagCloseF6", F::Options2Ini, 6, u"</h3>"},
        {Setting::HotkeyTagCloseF7, "HotkeyTagCloseF7", F::Options2Ini, 7, u"</a>"},
        {Setting::HotkeyTagCloseF8, "HotkeyTagCloseF8", F::Options2Ini, 8, u"</b>"},
        {Setting::CustomCountTag, "CustomCountTag", F::Options2Ini, 9, u"<h4>"},
        {Setting::ReplaceSeparator, "ReplaceSeparator", F::Options2Ini, 10, u","},
        {Setting::ArticleMinChars, "ArticleMinChars", F::Options2Ini, 11, u"1400"},
        {Setting::ArticleMaxChars, "ArticleMaxChars", F::Options2Ini, 12, u"1700"},
        {Setting::HeadingOpenTag, "HeadingOpenTag", F::Options2Ini, 13, u"<h1>"},
        {Setting::HeadingCloseTag, "HeadingCloseTag", F::Options2Ini, 14, u"</h1>"},
        {Setting::HeadingLength, "HeadingLength", F::Options2Ini, 15, u"37"},
        {Setting::LinePrefix, "LinePrefix", F::Options2Ini, 16, u""},
        {Setting::LineSuffix, "LineSuffix", F::Options2Ini, 17, u"."},
        {Setting::FootnoteStart, "FootnoteStart", F::Options2Ini, 18, u"(см. рис"},
        {Setting::FootnoteEnd, "FootnoteEnd", F::Options2Ini, 19, u")"},
    };
}

const std::vector<SettingInfo>& Table() {
    static const std::vector<SettingInfo> table = BuildTable();
    return table;
}

}  // namespace

std::span<const SettingInfo> SettingsTable() { return Table(); }

const SettingInfo& SettingInfoOf(Setting setting) {
    for (const auto& info : Table()) {
        if (info.id == setting) return info;
    }
    return Table().front();  // unreachable: the table lists every setting (checked by a test)
}

const SettingInfo* FindSetting(std::string_view name) {
    for (const auto& info : Table()) {
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

std::u16string SettingValues::Value(Setting setting) const {
    if (auto it = overrides_.find(setting); it != overrides_.end()) return it->second;
    return SettingInfoOf(setting).defaultValue;
}

}  // namespace vernalith
