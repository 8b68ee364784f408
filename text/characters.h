#pragma once

#include <string>
#include <string_view>

#include "core/progress.h"

namespace vernalith {

// Deletes, line by line of `removeList` (lowered with the case table, split into lines), every
// occurrence of the line in the text, ignoring case; after a deletion the scan looks at the deletion
// point again. An empty list line is passed over. Reports "удаление символов".
std::u16string RemoveListedCharacters(const std::u16string& text, std::u16string_view removeList,
                                      ProgressReporter& progress, int stepLimit = StepCounter::kDefaultLimit);

// One line of the replacement list: the text before the first separator and the text after it.
// A line without the separator (or any line when the separator is empty) has an empty search part.
struct ReplacePair {
    std::u16string_view search;
    std::u16string_view replacement;
};
ReplacePair SplitReplaceLine(std::u16string_view line, std::u16string_view separator);

// True when the search part occurs inside the replacement after its first character: the scan, which
// goes on at the second character of an inserted replacement, would then find it again and again.
bool ReplacementRescansItself(const ReplacePair& pair);

// Replaces, line by line of `replaceList`, every case-sensitive occurrence of the search part by the
// replacement part. The scan goes on at the second character of an inserted replacement, except for a
// pair whose replacement holds its search part again after its first character: there it goes on
// after the whole replacement. A line with an empty search part and a non-empty replacement is passed
// over. Reports "замена символов" and sets Gauge1 at every position.
std::u16string ReplaceListedCharacters(const std::u16string& text, std::u16string_view replaceList,
                                       std::u16string_view separator, ProgressReporter& progress,
                                       int stepLimit = StepCounter::kDefaultLimit);

}  // namespace vernalith
