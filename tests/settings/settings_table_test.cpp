#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <set>

#include "automatic/procedure_table.h"
#include "core/line_list.h"

namespace vernalith {
namespace {

TEST(SettingsTable, EverySettingOnceWithItsDefault) {
    std::set<Setting> seen;
    for (const auto& info : SettingsTable()) {
        EXPECT_TRUE(seen.insert(info.id).second) << info.name;
        EXPECT_EQ(FindSetting(info.name), &info);
        EXPECT_EQ(&SettingInfoOf(info.id), &info);
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(Setting::Count));
    SettingValues values;
    EXPECT_EQ(values.Value(Setting::HotkeyTagOpenF7), u"<a href=\"\">");
    EXPECT_EQ(values.Value(Setting::FootnoteStart), u"(см. рис");
    EXPECT_EQ(values.Value(Setting::LinePrefix), u"");
    EXPECT_EQ(values.Value(Setting::ProcedureChain), JoinLines(DefaultProcedureChain()));
    values.Set(Setting::LinePrefix, u"- ");
    EXPECT_EQ(values.Value(Setting::LinePrefix), u"- ");
    // Record numbers run 1..7 in options.ini and 1..19 in options2.ini, in table order.
    int ini = 0, ini2 = 0;
    for (const auto& info : SettingsTable()) {
        if (info.file == SettingsFile::OptionsIni) {
            EXPECT_EQ(info.record, ++ini) << info.name;
        } else if (info.file == SettingsFile::Options2Ini) {
            EXPECT_EQ(info.record, ++ini2) << info.name;
        }
    }
    EXPECT_EQ(ini, 7);
    EXPECT_EQ(ini2, 19);
}

TEST(SettingsTable, EveryFieldIsNamedAndTheHotKeyPairsAreTheTagWindowsFields) {
    std::set<std::pair<std::string_view, std::string_view>> fields;
    for (const auto& info : SettingsTable()) {
        EXPECT_FALSE(info.field.window.empty()) << info.name;
        EXPECT_FALSE(info.field.object.empty()) << info.name;
        EXPECT_EQ(info.field.kind == FieldKind::MenuChoice, !info.field.choices.empty()) << info.name;
        // Two settings never share a field, except the two faces of the highlighting button.
        if (info.field.kind != FieldKind::MenuChoice) {
            EXPECT_TRUE(fields.insert({info.field.window, info.field.object}).second) << info.name;
        }
    }
    ASSERT_EQ(HotkeyTagPairs().size(), 4u);
    const char* keys[] = {"F5", "F6", "F7", "F8"};
    for (size_t i = 0; i < 4; ++i) {
        const HotkeyTagPair& pair = HotkeyTagPairs()[i];
        EXPECT_EQ(pair.key, keys[i]);
        EXPECT_EQ(SettingInfoOf(pair.open).field.window, "TForm3");
        EXPECT_EQ(SettingInfoOf(pair.open).record, static_cast<int>(i) + 1);
        EXPECT_EQ(SettingInfoOf(pair.close).record, static_cast<int>(i) + 5);
    }
}

}  // namespace
}  // namespace vernalith
