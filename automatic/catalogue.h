#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vernalith {

// One chainable procedure: the caption that names it in the procedure list (its whole identity,
// matched exactly) and the registry name of the procedure it runs.
struct CatalogueEntry {
    std::u16string_view caption;
    std::string_view procedure;
    bool inDefaultChain;
};

// The 16 chainable procedures in catalogue order.
std::span<const CatalogueEntry> ProcedureCatalogue();

// The entry whose caption equals `caption` exactly; nullptr when none does.
const CatalogueEntry* FindCatalogueEntry(std::u16string_view caption);

// The chain the list holds before a saved one is read: the entries marked for it, in catalogue order.
std::vector<std::u16string> DefaultProcedureChain();

}  // namespace vernalith
