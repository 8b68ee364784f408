#pragma once

#include <string>

#include "automatic/procedure_table.h"
#include "core/procedure_context.h"

namespace vernalith {

// Runs one procedure on a text: reads the settings it needs from the context when it starts, reports
// through the context's reporter, returns the result text. Failures throw ProcedureError.
using ProcedureFunction = std::u16string (*)(const std::u16string& text, ProcedureContext& context);

// The code that runs a procedure of the table.
ProcedureFunction RunnerOf(ProcedureId id);

inline std::u16string RunProcedure(ProcedureId id, const std::u16string& text, ProcedureContext& context) {
    return RunnerOf(id)(text, context);
}

}  // namespace vernalith
