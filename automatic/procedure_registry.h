#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/procedure_context.h"

namespace vernalith {

// Runs one procedure on a text: reads the settings it needs from the context when it starts, reports
// through the context's reporter, returns the result text. Failures throw ProcedureError.
using ProcedureFunction = std::u16string (*)(const std::u16string& text, ProcedureContext& context);

struct ProcedureInfo {
    std::string_view name;  // the procedure's name, as the command-line tool accepts it
    ProcedureFunction run;
    // A report's result is a message about the text (counts, statistics), not a new text: the
    // command-line tool writes it as it is.
    bool report = false;
};

// Every procedure that takes a whole text and gives a whole text back, in a fixed order.
std::span<const ProcedureInfo> Procedures();

// A procedure by its name, or by the caption of its procedure-list entry; nullptr when none matches.
const ProcedureInfo* FindProcedure(std::string_view name);
const ProcedureInfo* FindProcedureByCaption(std::u16string_view caption);

}  // namespace vernalith
