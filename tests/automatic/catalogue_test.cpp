#include "automatic/catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "automatic/procedure_registry.h"
#include "core/line_list.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

TEST(Catalogue, SixteenDistinctCaptionsAndTheDefaultChain) {
    const auto catalogue = ProcedureCatalogue();
    ASSERT_EQ(catalogue.size(), 16u);
    std::set<std::u16string_view> captions;
    for (const auto& entry : catalogue) captions.insert(entry.caption);
    EXPECT_EQ(captions.size(), 16u);
    const auto chain = DefaultProcedureChain();
    ASSERT_EQ(chain.size(), 13u);
    EXPECT_EQ(chain.front(), u"удаление html тегов");
    EXPECT_EQ(chain[11], u"поднять регистр там где нужно");
    EXPECT_EQ(chain.back(), u"удаление сносок");
}

TEST(Catalogue, CaptionsMatchOnlyExactly) {
    EXPECT_NE(FindCatalogueEntry(u"удаление лишних пробелов"), nullptr);
    EXPECT_EQ(FindCatalogueEntry(u"удаление лишних пробелов "), nullptr);
    EXPECT_EQ(FindCatalogueEntry(u"Удаление лишних пробелов"), nullptr);
    EXPECT_EQ(FindProcedureByCaption(u"удаление лишних пробелов")->name, "RemoveExtraSpaces");
}

TEST(Registry, NamesAreUniqueAndEveryProcedureRuns) {
    std::set<std::string_view> names;
    SettingValues settings;
    SilentProgress progress;
    SeededRandom random(1);
    ProcedureContext context{settings, progress, random};
    for (const auto& info : Procedures()) {
        EXPECT_TRUE(names.insert(info.name).second) << info.name;
        EXPECT_EQ(FindProcedure(info.name), &info);
        EXPECT_NO_THROW(info.run(u"", context)) << info.name;
        EXPECT_NO_THROW(info.run(u" Проба  текста ,\r\n\r\n  строка", context)) << info.name;
    }
}

TEST(SettingsTable, EverySettingOnceWithItsDefault) {
    std::set<Setting> seen;
    for (const auto& info : SettingsTable()) {
        EXPECT_TRUE(seen.insert(info.id).second) << info.name;
        EXPECT_EQ(FindSetting(info.name), &info);
        EXPECT_EQ(&SettingInfoOf(info.id), &info);
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(Setting::FootnoteEnd) + 1);
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

}  // namespace
}  // namespace vernalith
