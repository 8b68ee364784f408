#pragma once

#include "core/progress.h"
#include "core/random.h"
#include "core/settings_source.h"

namespace vernalith {

// What a procedure run gets besides its text: where it reads its settings when it starts, where it
// reports progress, and the process's random numbers.
struct ProcedureContext {
    const SettingsSource& settings;
    ProgressReporter& progress;
    RandomSource& random;
};

}  // namespace vernalith
