#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/progress.h"

namespace vernalith {

struct TagCounts {
    int64_t h1 = 0;
    int64_t h2 = 0;
    int64_t h3 = 0;
    int64_t custom = 0;
    std::u16string customTag;  // lower-cased, as the message shows it
};

// Counts "<h1>", "<h2>", "<h3>" and `customTag` in the text, letter case ignored (both sides
// lower-cased by the case table), overlapping matches included. The text is scanned with one space
// added at each end, so a custom tag may match across those spaces, and an empty custom tag matches
// at every position: text length + 2. Every `stepLimit` positions the scan reports the share done
// through ReportPercentSpaced and lets events through; it sets no caption and does not clear the
// percentage: the caller does that once the message was shown.
TagCounts CountTags(std::u16string_view text, std::u16string_view customTag, ProgressReporter& progress,
                    int stepLimit = StepCounter::kDefaultLimit);

// The message box text: "<h1> - k1", "<h2> - k2", "<h3> - k3" and "tag - k4", each followed by LF CR
// (a line feed, then a carriage return).
std::u16string TagCountMessage(const TagCounts& counts);

}  // namespace vernalith
