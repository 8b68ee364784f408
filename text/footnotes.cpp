#include "text/footnotes.h"

#include <vector>

#include "core/percent.h"
#include "text/case_table.h"

namespace vernalith {
namespace {

// At most this many characters stand between the start marker and the end marker.
constexpr size_t kFootnoteWindow = 16;

// matches[k] is true when the pattern.size() code units of the text from k on, lowered, equal the
// (lowered) pattern; an empty pattern stands everywhere. Knuth-Morris-Pratt, so long markers cost
// no more than short ones.
std::vector<bool> MarkMatches(std::u16string_view text, std::u16string_view pattern) {
    const size_t n = text.size(), m = pattern.size();
    if (m == 0) return std::vector<bool>(n, true);
    std::vector<bool> matches(n, false);
    std::vector<size_t> border(m, 0);  // border[q]: longest proper border of pattern[0..q]
    for (size_t q = 1, b = 0; q < m; ++q) {
        while (b > 0 && pattern[q] != pattern[b]) b = border[b - 1];
        if (pattern[q] == pattern[b]) ++b;
        border[q] = b;
    }
    for (size_t i = 0, q = 0; i < n; ++i) {
        const char16_t c = ToLowerChar(text[i]);
        while (q > 0 && c != pattern[q]) q = border[q - 1];
        if (c == pattern[q]) ++q;
        if (q == m) {
            matches[i + 1 - m] = true;
            q = border[m - 1];
        }
    }
    return matches;
}

}  // namespace

std::u16string RemoveFootnotes(std::u16string_view text, std::u16string_view startMarker, std::u16string_view endMarker,
                               ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление сносок");
    const std::u16string start = ToLowerText(startMarker);
    const std::u16string end = ToLowerText(endMarker);
    const size_t n = text.size();
    // Deletions only ever remove text at and after the scan position, so what the scan looks at from
    // there on is always the rest of the input: markers can be found in the input once and for all.
    const std::vector<bool> starts = MarkMatches(text, start);
    const std::vector<bool> ends = MarkMatches(text, end);

    // The text being scanned is `result` (final) followed by the input from index k on; the scan
    // position p is result.size() + 1.
    std::u16string result;
    result.reserve(n);
    StepCounter counter(stepLimit);
    for (size_t k = 0; k < n;) {
        size_t rest = k;  // where the input goes on after this step's deletion
        if (starts[k]) {
            const size_t first = k + start.size();
            for (size_t a = first; a <= first + kFootnoteWindow && a < n; ++a) {
                if (ends[a]) {
                    rest = a + end.size();
                    break;
                }
            }
        }
        if (counter.Step()) {
            progress.ReportPercent(
                PercentOfText(static_cast<int64_t>(result.size() + 1), static_cast<int64_t>(result.size() + n - rest)));
            progress.PumpEvents();
        }
        // The character now at p stays and is not tested again.
        if (rest < n) result.push_back(text[rest]);
        k = rest + 1;
    }
    progress.FinishReport();
    return result;
}

}  // namespace vernalith
