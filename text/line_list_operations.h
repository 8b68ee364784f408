#pragma once

#include <string>
#include <string_view>

#include "core/progress.h"

namespace vernalith {

// AddLinePrefixSuffix reports at every 28th line: once its line counter has passed 27.
inline constexpr int kLineReportLimit = 27;

// Puts the lines of the text in the alphabetical order of `locale` with letter case ignored (see
// LineCollator), the empty line first; lines that compare equal keep their order. Every line of the
// result is followed by CR LF. Reports nothing, but lets events through every so often (about every
// 65536 lines or sort steps), so that a run on a large text can be stopped.
std::u16string SortLines(std::u16string_view text, const std::string& locale, ProgressReporter& progress);

// Removes every line that repeats an earlier line exactly (same code units, case counts), keeping the
// first occurrence of each line in its place; every line of the result is followed by CR LF. With two
// lines or more it lets events through three times per kept line, shows the share of kept lines done
// (of the lines left at that moment) after each one whenever it changes, and clears it at the end.
std::u16string RemoveDuplicateLines(std::u16string_view text, ProgressReporter& progress);

// Puts `prefix` in front of every line and `suffix` after it, empty lines included; every line of the
// result is followed by CR LF. Lets events through once per line, shows the share of lines done at
// every (lineLimit + 1)-th line (28 by default) and clears it at the end.
std::u16string AddLinePrefixSuffix(std::u16string_view text, std::u16string_view prefix, std::u16string_view suffix,
                                   ProgressReporter& progress, int lineLimit = kLineReportLimit);

}  // namespace vernalith
