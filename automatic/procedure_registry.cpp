#include "automatic/procedure_registry.h"

#include <array>

#include "automatic/catalogue.h"
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

const ProcedureInfo kProcedures[] = {
    {"RemoveExtraSpaces", RunRemoveExtraSpaces},
    {"RemoveEmptyLines", RunRemoveEmptyLines},
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
