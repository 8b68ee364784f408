#pragma once

#include <cstddef>
#include <cstdint>

#include "core/percent.h"
#include "core/progress.h"

namespace vernalith::testing {

// The step counter of the character scans written out literally, for the slow reference versions:
// at the start of each step, once the count has passed the limit, report PercentOfText of the
// position and the current length, start the count again and let events through.
struct LiteralStepCounter {
    ProgressReporter& progress;
    int limit;
    int count = 0;

    void Step(size_t position, size_t length) {
        if (count > limit) {
            progress.ReportPercent(PercentOfText(static_cast<int64_t>(position), static_cast<int64_t>(length)));
            count = 0;
            progress.PumpEvents();
        }
        ++count;
    }
};

}  // namespace vernalith::testing
