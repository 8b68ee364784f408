#include "automatic/chain.h"

#include <gtest/gtest.h>

#include "automatic/procedure_runners.h"
#include "core/procedure_error.h"
#include "core/random.h"
#include "settings/settings_table.h"
#include "support/recording_progress.h"

namespace vernalith {
namespace {

using testing::RecordingProgress;
using testing::T;

constexpr std::u16string_view kSpaces = u"удаление лишних пробелов";
constexpr std::u16string_view kEmptyLines = u"удаление пустых строк";
constexpr std::u16string_view kDuplicates = u"удалить дубликаты строк";
constexpr std::u16string_view kLower = u"опустить регистр";
constexpr std::u16string_view kSplit = u"авторазбивка статей (простановка тегов заголовка)";

struct ChainRun {
    SettingValues settings;
    RecordingProgress progress;
    SeededRandom random{7};

    std::u16string Run(const std::u16string& text, ProcedureChain chain) {
        ProcedureContext context{settings, progress, random};
        return automatic(text, FixedChain(std::move(chain)), context);
    }

    // The runner's own calls: the panel and the gauge, without the pumps and the procedures' reports.
    std::vector<std::string> PanelAndGauge() const {
        std::vector<std::string> out;
        for (const auto& call : progress.calls) {
            if (call.ends_with("panel") || call.starts_with("gauge")) out.push_back(call);
        }
        return out;
    }
};

// Every entry's procedure, run one after the other by hand: what the chain must give.
std::u16string RunByHand(std::u16string text, const ProcedureChain& chain) {
    SettingValues settings;
    SilentProgress progress;
    SeededRandom random{7};
    ProcedureContext context{settings, progress, random};
    for (const auto& entry : chain) {
        if (const ProcedureRow* row = FindProcedureByCaption(entry)) text = RunProcedure(row->id, text, context);
    }
    return text;
}

TEST(ChainRunner, EachEntryGetsThePreviousResult) {
    const std::u16string text = T("Б  в{CR}{LF}{CR}{LF}Б  в{CR}{LF}Г");
    const ProcedureChain chain{std::u16string(kSpaces), std::u16string(kEmptyLines), std::u16string(kLower),
                               std::u16string(kDuplicates)};
    ChainRun run;
    const std::u16string result = run.Run(text, chain);
    EXPECT_EQ(result, RunByHand(text, chain));
    EXPECT_EQ(result, T("б в{CR}{LF}г{CR}{LF}"));
}

TEST(ChainRunner, TheDefaultChainEqualsItsProceduresRunByHand) {
    const std::u16string text =
        T("<b>Пер-{CR}{LF}вый</b>  абзац,,, и  текст.{CR}{LF}{CR}{LF}второй  абзац!!{CR}{LF}[1] сноска{CR}{LF}");
    ChainRun run;
    EXPECT_EQ(run.Run(text, DefaultProcedureChain()), RunByHand(text, DefaultProcedureChain()));
}

// Gauge2 shows the share of entries done before each one; the panel is shown first and hidden last,
// and events are let through once at the start and once before each entry.
TEST(ChainRunner, GaugeAndPanelSequence) {
    struct Case {
        ProcedureChain chain;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{u"x", u"y", u"z"}, {"show panel", "gauge2 0", "gauge2 33", "gauge2 67", "hide panel"}},
        {{u"x"}, {"show panel", "gauge2 0", "hide panel"}},
        {{}, {"show panel", "hide panel"}},
        {{u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"},
         {"show panel", "gauge2 0", "gauge2 12", "gauge2 25", "gauge2 38", "gauge2 50", "gauge2 62", "gauge2 75",
          "gauge2 88", "hide panel"}},
    };
    for (const Case& c : cases) {
        ChainRun run;
        EXPECT_EQ(run.Run(u"текст", c.chain), u"текст");
        EXPECT_EQ(run.PanelAndGauge(), c.expected);
        // Unknown entries report nothing of their own: one pump at the start and one per entry.
        EXPECT_EQ(std::count(run.progress.calls.begin(), run.progress.calls.end(), "pump"),
                  static_cast<long>(c.chain.size() + 1));
        EXPECT_EQ(run.progress.calls[1], "pump");
    }
}

// Entries match captions only exactly: a different letter case, a trailing or leading space or an
// entry from a wrongly decoded file run nothing and are skipped without a word.
TEST(ChainRunner, OnlyExactCaptionsRun) {
    const std::u16string text = T("a  b{CR}{LF}");
    for (std::u16string entry : {u"Удаление лишних пробелов", u"удаление лишних пробелов ",
                                 u" удаление лишних пробелов", u"Ã³Ð´Ð°Ð»ÐµÐ½Ð¸Ðµ", u""}) {
        ChainRun run;
        EXPECT_EQ(run.Run(text, {entry}), text);
    }
    ChainRun run;
    EXPECT_EQ(run.Run(text, {std::u16string(kSpaces)}), T("a b{CR}{LF}"));
}

TEST(ChainRunner, AnEntryTwiceRunsTwice) {
    // Lowering twice is lowering once; removing duplicates twice is removing them once; a procedure
    // that is not idempotent shows the second run: the prefix is added twice.
    const std::u16string text = T("Б{CR}{LF}б{CR}{LF}Б{CR}{LF}");
    ChainRun once, twice;
    EXPECT_EQ(twice.Run(text, {std::u16string(kDuplicates), std::u16string(kDuplicates)}),
              once.Run(text, {std::u16string(kDuplicates)}));
    ChainRun prefixed;
    prefixed.settings.Set(Setting::LinePrefix, u"-");
    prefixed.settings.Set(Setting::LineSuffix, u"");
    const std::u16string addPrefix = u"вставлять символы в начало и в конец строк";
    EXPECT_EQ(prefixed.Run(T("a{CR}{LF}b"), {addPrefix, addPrefix}), T("--a{CR}{LF}--b{CR}{LF}"));
}

// A failing entry ends the run: the entries after it do not run, the failure reaches the caller and
// the panel is hidden.
TEST(ChainRunner, AFailureEndsTheRunWithThePanelHidden) {
    ChainRun run;
    run.settings.Set(Setting::ArticleMinChars, u"много");
    const ProcedureChain chain{std::u16string(kSpaces), std::u16string(kSplit), std::u16string(kLower)};
    EXPECT_THROW(run.Run(u"А  Б", chain), ProcedureError);
    EXPECT_EQ(run.PanelAndGauge(), (std::vector<std::string>{"show panel", "gauge2 0", "gauge2 33", "hide panel"}));
}

// A stop requested through the reporter ends the run the same way.
TEST(ChainRunner, AStopEndsTheRunWithThePanelHidden) {
    struct StopAtSecondEntry : RecordingProgress {
        int pumps = 0;
        void PumpEvents() override {
            RecordingProgress::PumpEvents();
            if (++pumps == 3) throw RunCancelled();
        }
    } progress;
    SettingValues settings;
    SeededRandom random{1};
    ProcedureContext context{settings, progress, random};
    EXPECT_THROW(automatic(u"a  b", FixedChain({std::u16string(kSpaces), std::u16string(kSpaces)}), context),
                 RunCancelled);
    EXPECT_EQ(progress.calls.back(), "hide panel");
}

// The entry count is read afresh before every entry: entries added while the chain runs are run too.
TEST(ChainRunner, TheChainIsReadAfreshBeforeEachEntry) {
    struct GrowingChain : ChainSource {
        mutable int reads = 0;
        ProcedureChain Entries() const override {
            ++reads;
            return ProcedureChain(reads < 3 ? 2 : 4, std::u16string(kLower));
        }
    } chain;
    RecordingProgress progress;
    SettingValues settings;
    SeededRandom random{1};
    ProcedureContext context{settings, progress, random};
    EXPECT_EQ(automatic(u"АБ", chain, context), u"аб");
    EXPECT_EQ(chain.reads, 5);
    std::vector<std::string> gauges;
    for (const auto& call : progress.calls) {
        if (call.starts_with("gauge")) gauges.push_back(call);
    }
    EXPECT_EQ(gauges, (std::vector<std::string>{"gauge2 0", "gauge2 50", "gauge2 50", "gauge2 75"}));
}

TEST(ChainRunner, SettingsChainReadsTheSettingAsItStands) {
    SettingValues settings;
    EXPECT_EQ(SettingsChain(settings).Entries(), DefaultProcedureChain());
    settings.Set(Setting::ProcedureChain, u"опустить регистр\r\nнечто\r\n\r\nопустить регистр");
    EXPECT_EQ(SettingsChain(settings).Entries(),
              (ProcedureChain{u"опустить регистр", u"нечто", u"", u"опустить регистр"}));
    settings.Set(Setting::ProcedureChain, u"");
    EXPECT_TRUE(SettingsChain(settings).Entries().empty());
    const ProcedureChain chain{u"a", u"b b "};
    EXPECT_EQ(ParseProcedureChain(FormatProcedureChain(chain)), chain);
}

TEST(ChainEditing, MoveByTheDropRule) {
    struct Case {
        size_t from;
        std::optional<size_t> target;
        ProcedureChain expected;
        std::optional<size_t> newIndex;
    };
    const Case cases[] = {
        {0, 3, {u"2", u"3", u"4", u"1", u"5"}, 3},             // first onto fourth: after it
        {3, 0, {u"4", u"1", u"2", u"3", u"5"}, 0},             // fourth onto first: before it
        {1, std::nullopt, {u"1", u"3", u"4", u"5", u"2"}, 4},  // second below the list: to the end
        {2, 2, {u"1", u"2", u"3", u"4", u"5"}, 2},             // onto itself
        {4, std::nullopt, {u"1", u"2", u"3", u"4", u"5"}, 4},  // the last below the list
        {5, 0, {u"1", u"2", u"3", u"4", u"5"}, std::nullopt},  // nothing selected
    };
    for (const Case& c : cases) {
        ProcedureChain chain{u"1", u"2", u"3", u"4", u"5"};
        EXPECT_EQ(MoveChainEntry(chain, c.from, c.target), c.newIndex) << c.from;
        EXPECT_EQ(chain, c.expected) << c.from;
    }
    ProcedureChain empty;
    EXPECT_EQ(MoveChainEntry(empty, 0, std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace vernalith
