#include "automatic/chain.h"

#include "automatic/procedure_runners.h"
#include "core/line_list.h"
#include "core/percent.h"

namespace vernalith {

ProcedureChain ParseProcedureChain(std::u16string_view settingValue) { return SplitLines(settingValue); }

std::u16string FormatProcedureChain(const ProcedureChain& chain) { return JoinLines(chain); }

ProcedureChain SettingsChain::Entries() const { return ParseProcedureChain(settings_.Value(Setting::ProcedureChain)); }

namespace {

// Hides the progress panel however the run ends.
class PanelShown {
public:
    explicit PanelShown(ProgressReporter& progress) : progress_(progress) { progress_.ShowProgressPanel(); }
    ~PanelShown() { progress_.HideProgressPanel(); }
    PanelShown(const PanelShown&) = delete;
    PanelShown& operator=(const PanelShown&) = delete;

private:
    ProgressReporter& progress_;
};

}  // namespace

std::u16string automatic(const std::u16string& text, const ChainSource& chain, ProcedureContext& context) {
    ProgressReporter& progress = context.progress;
    PanelShown panel(progress);
    progress.PumpEvents();
    std::u16string working = text;
    for (size_t i = 0;; ++i) {
        const ProcedureChain entries = chain.Entries();
        if (i >= entries.size()) break;
        progress.SetGauge(Gauge::Gauge2, PercentOfLines(static_cast<int64_t>(i), static_cast<int64_t>(entries.size())));
        progress.PumpEvents();
        if (const ProcedureRow* row = FindProcedureByCaption(entries[i])) {
            working = RunProcedure(row->id, working, context);
        }
    }
    return working;
}

std::optional<size_t> MoveChainEntry(ProcedureChain& chain, size_t from, std::optional<size_t> target) {
    if (from >= chain.size()) return std::nullopt;
    const size_t to = target && *target < chain.size() ? *target : chain.size() - 1;
    if (to == from) return from;
    std::u16string entry = std::move(chain[from]);
    chain.erase(chain.begin() + static_cast<std::ptrdiff_t>(from));
    chain.insert(chain.begin() + static_cast<std::ptrdiff_t>(to), std::move(entry));
    return to;
}

}  // namespace vernalith
