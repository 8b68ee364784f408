#include "automatic/procedure_registry.h"

#include <array>

#include "automatic/catalogue.h"
#include "text/footnotes.h"
#include "text/line_collation.h"
#include "text/line_list_operations.h"
#include "text/whitespace.h"

namespace vernalith {
namespace {

// Adapters: each reads its settings (none for the whitespace procedures) and calls the procedure.
std::u16string RunRemoveExtraSpaces(const std::u16string& text, ProcedureContext& context) {
    return RemoveExtraSpaces(text, context.progress);
}

std::u16string RunRemoveEmptyLines(const std::u16string& text, ProcedureContext& context) {
    return RemoveEmptyLines(text, context.progress);
}

std::u16string RunSortLines(const std::u16string& text, ProcedureContext&) {
    return SortLines(text, UserCollationLocale());
}

std::u16string RunRemoveDuplicateLines(const std::u16string& text, ProcedureContext& context) {
    return RemoveDuplicateLines(text, context.progress);
}

std::u16string RunAddLinePrefixSuffix(const std::u16string& text, ProcedureContext& context) {
    const std::u16string prefix = context.settings.Value(Setting::LinePrefix);
    const std::u16string suffix = context.settings.Value(Setting::LineSuffix);
    return AddLinePrefixSuffix(text, prefix, suffix, context.progress);
}

std::u16string RunRemoveFootnotes(const std::u16string& text, ProcedureContext& context) {
    const std::u16string start = context.settings.Value(Setting::FootnoteStart);
    const std::u16string end = context.settings.Value(Setting::FootnoteEnd);
    return RemoveFootnotes(text, start, end, context.progress);
}

const ProcedureInfo kProcedures[] = {
    {"RemoveExtraSpaces", RunRemoveExtraSpaces},
    {"RemoveEmptyLines", RunRemoveEmptyLines},
    {"SortLines", RunSortLines},
    {"RemoveDuplicateLines", RunRemoveDuplicateLines},
    {"AddLinePrefixSuffix", RunAddLinePrefixSuffix},
    {"RemoveFootnotes", RunRemoveFootnotes},
};

}  // namespace

std::span<const ProcedureInfo> Procedures() { return kProcedures; }

const ProcedureInfo* FindProcedure(std::string_view name) {
    for (const auto& info : kProcedures) {
        if (info.name == name) return &info;
    }
    return nullptr;
}

const ProcedureInfo* FindProcedureByCaption(std::u16string_view caption) {
    const CatalogueEntry* entry = FindCatalogueEntry(caption);
    return entry ? FindProcedure(entry->procedure) : nullptr;
}

}  // namespace vernalith
