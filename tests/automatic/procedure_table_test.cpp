#include "automatic/procedure_table.h"

#include <gtest/gtest.h>

#include <set>

#include "automatic/procedure_runners.h"
#include "core/random.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

TEST(ProcedureList, SixteenDistinctCaptionsInListOrderAndTheDefaultChain) {
    const auto catalogue = ProcedureCatalogue();
    ASSERT_EQ(catalogue.size(), 16u);
    std::set<std::u16string_view> captions;
    for (const ProcedureRow* row : catalogue) captions.insert(row->caption);
    EXPECT_EQ(captions.size(), 16u);
    EXPECT_EQ(catalogue[0]->id, ProcedureId::StripHtmlTags);
    EXPECT_EQ(catalogue[6]->caption, u"удаление лишних пунктуационных знаков (повторяющихся и в начале строк)");
    EXPECT_EQ(catalogue[9]->id, ProcedureId::InsertParagraphTags);
    EXPECT_EQ(catalogue[15]->caption, u"удаление сносок");
    const auto chain = DefaultProcedureChain();
    ASSERT_EQ(chain.size(), 13u);
    EXPECT_EQ(chain.front(), u"удаление html тегов");
    EXPECT_EQ(chain[11], u"поднять регистр там где нужно");
    EXPECT_EQ(chain.back(), u"удаление сносок");
}

TEST(ProcedureList, CaptionsMatchOnlyExactly) {
    EXPECT_NE(FindProcedureByCaption(u"удаление лишних пробелов"), nullptr);
    EXPECT_EQ(FindProcedureByCaption(u"удаление лишних пробелов "), nullptr);
    EXPECT_EQ(FindProcedureByCaption(u"Удаление лишних пробелов"), nullptr);
    EXPECT_EQ(FindProcedureByCaption(u"удаление лишних пробелов")->name, "RemoveExtraSpaces");
}

TEST(ProcedureTable, NamesAreUniqueAndEveryProcedureRuns) {
    std::set<std::string_view> names;
    SettingValues settings;
    SilentProgress progress;
    SeededRandom random(1);
    ProcedureContext context{settings, progress, random};
    for (const ProcedureRow& row : ProcedureTable()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_EQ(FindProcedure(row.name), &row);
        EXPECT_EQ(&ProcedureOf(row.id), &row);
        EXPECT_NO_THROW(RunProcedure(row.id, u"", context)) << row.name;
        EXPECT_NO_THROW(RunProcedure(row.id, u" Проба  текста ,\r\n\r\n  строка", context)) << row.name;
    }
    EXPECT_EQ(FindProcedure("automatic"), nullptr);
}

}  // namespace
}  // namespace vernalith
