#include <gtest/gtest.h>

#include "automatic/procedure_runners.h"
#include "core/random.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

// The adapters read their settings when they start: the defaults, or what the user set.
std::u16string RunByCaption(std::u16string_view caption, const std::u16string& text, const SettingValues& settings) {
    SilentProgress progress;
    SeededRandom random(1);
    ProcedureContext context{settings, progress, random};
    const ProcedureRow* row = FindProcedureByCaption(caption);
    EXPECT_NE(row, nullptr);
    return row ? RunProcedure(row->id, text, context) : u"";
}

TEST(LineProcedureAdapters, ReadTheirSettings) {
    SettingValues defaults;
    EXPECT_EQ(RunByCaption(u"вставлять символы в начало и в конец строк", u"один\r\n\r\nдва", defaults),
              u"один.\r\n.\r\nдва.\r\n");
    EXPECT_EQ(RunByCaption(u"удаление сносок", u"на рисунке (См. рис. 5) видно", defaults), u"на рисунке  видно");

    SettingValues custom;
    custom.Set(Setting::LinePrefix, u"<li>");
    custom.Set(Setting::LineSuffix, u"</li>");
    custom.Set(Setting::FootnoteStart, u"[X");
    custom.Set(Setting::FootnoteEnd, u"]");
    EXPECT_EQ(RunByCaption(u"вставлять символы в начало и в конец строк", u"a\nb", custom),
              u"<li>a</li>\r\n<li>b</li>\r\n");
    EXPECT_EQ(RunByCaption(u"удаление сносок", u"a [x 1] b (см. рис. 5)", custom), u"a  b (см. рис. 5)");
}

TEST(LineProcedureAdapters, SortAndDeduplicateByCaption) {
    SettingValues defaults;
    EXPECT_EQ(RunByCaption(u"упорядочить строки в алфавитном порядке", u"в\nБ\n\nа", defaults), u"\r\nа\r\nБ\r\nв\r\n");
    EXPECT_EQ(RunByCaption(u"удалить дубликаты строк", u"a\nA\na\n", defaults), u"a\r\nA\r\n");
}

}  // namespace
}  // namespace vernalith
