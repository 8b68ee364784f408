#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/procedure_context.h"

namespace vernalith {

// The procedure chain: an ordered list of entries, each meant to be one procedure list caption.
// Duplicates and texts that are no caption are allowed; the list may be empty.
using ProcedureChain = std::vector<std::u16string>;

// The chain as its setting holds it: one entry a line (CR LF after each), and back.
ProcedureChain ParseProcedureChain(std::u16string_view settingValue);
std::u16string FormatProcedureChain(const ProcedureChain& chain);

// Where the runner reads the chain from. It asks for the whole chain again before every entry, so
// a chain that changes while it runs is followed as it then stands.
class ChainSource {
public:
    virtual ~ChainSource() = default;
    virtual ProcedureChain Entries() const = 0;
};

// A chain fixed when the run starts (the command-line tool, tests).
class FixedChain : public ChainSource {
public:
    explicit FixedChain(ProcedureChain entries) : entries_(std::move(entries)) {}
    ProcedureChain Entries() const override { return entries_; }

private:
    ProcedureChain entries_;
};

// The chain as a settings source holds it (`Setting::ProcedureChain`), read afresh each time.
class SettingsChain : public ChainSource {
public:
    explicit SettingsChain(const SettingsSource& settings) : settings_(settings) {}
    ProcedureChain Entries() const override;

private:
    const SettingsSource& settings_;
};

// Runs the chain over a text: shows the progress panel (the window hides its Gauge1 first), then for
// each entry sets Gauge2 to the share of entries done before it, lets events
// through and runs the procedure whose caption equals the entry exactly; an entry that is no caption
// runs nothing. Each procedure gets the previous one's result. Hides the panel at the end, also when a
// procedure fails or the run is stopped (the failure is passed on).
std::u16string automatic(const std::u16string& text, const ChainSource& chain, ProcedureContext& context);

// The list editor's reordering rule: the entry at `from` is taken out and put at `target`, the index
// (counted before the removal) of the entry it was dropped on; no target (dropped below the last
// entry) moves it to the end. Returns the entry's new index; nothing changes for an invalid `from`.
std::optional<size_t> MoveChainEntry(ProcedureChain& chain, size_t from, std::optional<size_t> target);

}  // namespace vernalith
