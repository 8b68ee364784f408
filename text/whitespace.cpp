#include "text/whitespace.h"

#include "core/line_list.h"
#include "core/percent.h"

namespace vernalith {
namespace {

bool IsSpaceBeforePunctuationTarget(char16_t c) { return c == u',' || c == u'.' || c == u':' || c == u';'; }

// Each pass below builds its result in one left-to-right sweep. The scan it stands for walks a text
// that is being edited in place with a 1-based position p; at any moment that text is `out` (final)
// followed by the unread rest of the input, so p and the current length L are known exactly and the
// progress reports fall where the in-place scan would make them.
class Scan {
public:
    Scan(ProgressReporter& progress, int stepLimit) : progress_(progress), counter_(stepLimit) {}

    void Step(size_t position, size_t length) {
        if (counter_.Step()) {
            progress_.ReportPercent(PercentOfText(static_cast<int64_t>(position), static_cast<int64_t>(length)));
            progress_.PumpEvents();
        }
    }

private:
    ProgressReporter& progress_;
    StepCounter counter_;
};

// Leading spaces go; then every pair of spaces becomes one space, the same position being looked at
// again after each replacement (except at position 1), so runs collapse to a single space.
std::u16string CollapseSpaceRuns(std::u16string_view in, Scan& scan) {
    size_t i = in.find_first_not_of(u' ');
    if (i == std::u16string_view::npos) return {};
    const size_t n = in.size();
    std::u16string out;
    out.reserve(n - i);
    while (n - i > 1) {  // p = out.size() + 1 < L = out.size() + n - i
        scan.Step(out.size() + 1, out.size() + n - i);
        if (in[i] == u' ' && in[i + 1] == u' ') {
            if (out.empty()) {  // at position 1 the scan moves on after the replacement
                out.push_back(u' ');
                i += 2;
            } else {
                ++i;
            }
        } else {
            out.push_back(in[i++]);
        }
    }
    out.append(in.substr(i));
    return out;
}

// The space after each line feed goes. The text is `out`, the character at p (in[i]) and in[j...].
std::u16string DropSpaceAfterLineFeed(std::u16string_view in, Scan& scan) {
    const size_t n = in.size();
    if (n == 0) return {};
    std::u16string out;
    out.reserve(n);
    size_t i = 0, j = 1;
    while (j < n) {  // p = out.size() + 1 < L = out.size() + 1 + n - j
        scan.Step(out.size() + 1, out.size() + 1 + n - j);
        if (in[i] == u'\n' && in[j] == u' ') {
            ++j;
            if (!out.empty()) continue;  // p goes back and forward: the same position again
        }
        out.push_back(in[i]);
        i = j++;
    }
    if (i < n) out.push_back(in[i]);
    if (j < n) out.append(in.substr(j));
    return out;
}

// The space in front of "," "." ":" ";" goes. After the runs are collapsed no two spaces meet and the
// text does not start with one, so a replacement never enables another at the step-back position;
// the step after it looks at the mark itself.
std::u16string DropSpaceBeforePunctuation(std::u16string_view in, Scan& scan) {
    const size_t n = in.size();
    std::u16string out;
    out.reserve(n);
    size_t i = 0;
    while (i + 1 < n) {  // p = out.size() + 1 < L = out.size() + n - i
        scan.Step(out.size() + 1, out.size() + n - i);
        if (in[i] == u' ' && IsSpaceBeforePunctuationTarget(in[i + 1])) {
            ++i;
        } else {
            out.push_back(in[i++]);
        }
    }
    out.append(in.substr(i));
    return out;
}

bool IsBlankLine(std::u16string_view line) {
    for (char16_t c : line) {
        if (c >= u'\u0021' && c <= u'\u044F') return false;
    }
    return true;
}

}  // namespace

std::u16string RemoveExtraSpaces(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление пробелов");
    Scan scan(progress, stepLimit);
    std::u16string result = CollapseSpaceRuns(text, scan);
    result = DropSpaceAfterLineFeed(result, scan);
    result = DropSpaceBeforePunctuation(result, scan);
    progress.FinishReport();
    return result;
}

std::u16string RemoveEmptyLines(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление пустых строк");
    const std::vector<std::u16string_view> lines = SplitLineViews(text);
    StepCounter counter(stepLimit);
    std::vector<std::u16string_view> kept;
    kept.reserve(lines.size());
    // The walk removes blank lines from the list in place: after examining line k (0-based) of the
    // input the list holds the kept lines and the unexamined ones, and the index is kept.size().
    for (size_t k = 0; k < lines.size(); ++k) {
        if (!IsBlankLine(lines[k])) kept.push_back(lines[k]);
        // The counter is increased after each examined line; the report comes once it exceeds the limit.
        if (counter.StepDone()) {
            const size_t count = kept.size() + (lines.size() - k - 1);
            progress.ReportPercent(PercentOfLinesPlusOne(static_cast<int64_t>(kept.size()), static_cast<int64_t>(count)));
            progress.PumpEvents();
        }
    }
    progress.FinishReport();
    return JoinLines(kept);
}

}  // namespace vernalith
