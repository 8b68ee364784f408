#include "text/whitespace.h"

#include <algorithm>

#include "core/line_list.h"
#include "core/percent.h"

namespace vernalith {
namespace {

bool IsMarkAfterSpace(char16_t c) { return c == u',' || c == u'.' || c == u':' || c == u';'; }

// Each pass below builds its result in one left-to-right sweep. The scan it stands for walks a text
// that is edited in place, with a 1-based position p; at any moment that text is the output written
// so far followed by the unread rest of the input, so p and the current length L are known exactly
// and the progress reports fall where the in-place scan would make them. Runs of characters that
// cannot start an edit are copied in bulk, counted as one step each. Each pass compacts the working
// copy in place.
class Scan {
public:
    Scan(ProgressReporter& progress, int stepLimit) : progress_(progress), counter_(stepLimit) {}

    void Step(size_t position, size_t length) {
        if (counter_.Step()) {
            progress_.ReportPercent(PercentOfText(static_cast<int64_t>(position), static_cast<int64_t>(length)));
            progress_.PumpEvents();
        }
    }

    // Copies in[i..end) to `out` for as long as `plain` holds and no report is due; returns the new i.
    template <typename Plain>
    size_t CopyPlain(const char16_t* in, size_t i, size_t end, char16_t*& out, Plain plain) {
        const size_t stop = std::min(end, i + counter_.StepsBeforeReport());
        size_t j = i;
        while (j < stop && plain(in[j])) *out++ = in[j++];
        counter_.Advance(j - i);
        return j;
    }

private:
    ProgressReporter& progress_;
    StepCounter counter_;
};

// Leading spaces go; then every pair of spaces becomes one space, the same position being looked at
// again after each replacement (except at position 1), so runs collapse to a single space.
void CollapseSpaceRuns(std::u16string& text, Scan& scan) {
    size_t i = text.find_first_not_of(u' ');
    if (i == std::u16string::npos) {
        text.clear();
        return;
    }
    const char16_t* in = text.data();
    const size_t n = text.size();
    char16_t* const begin = text.data();
    char16_t* out = begin;
    auto written = [&] { return static_cast<size_t>(out - begin); };
    while (n - i > 1) {  // p = written + 1 < L = written + n - i
        i = scan.CopyPlain(in, i, n - 1, out, [](char16_t c) { return c != u' '; });
        if (n - i <= 1) break;
        scan.Step(written() + 1, written() + n - i);
        if (in[i] == u' ' && in[i + 1] == u' ') {
            if (out == begin) {  // at position 1 the scan moves on after the replacement
                *out++ = u' ';
                i += 2;
            } else {
                ++i;
            }
        } else {
            *out++ = in[i++];
        }
    }
    while (i < n) *out++ = in[i++];
    text.resize(written());
}

// The space after each line feed goes. The text is the output, the character at p (in[i]) and
// in[j...]; j is i + 1 except right after a deletion.
void DropSpaceAfterLineFeed(std::u16string& text, Scan& scan) {
    const size_t n = text.size();
    if (n == 0) return;
    const char16_t* in = text.data();
    char16_t* const begin = text.data();
    char16_t* out = begin;
    auto written = [&] { return static_cast<size_t>(out - begin); };
    size_t i = 0, j = 1;
    while (j < n) {  // p = written + 1 < L = written + 1 + n - j
        if (j == i + 1) {
            i = scan.CopyPlain(in, i, n - 1, out, [](char16_t c) { return c != u'\n'; });
            j = i + 1;
            if (j >= n) break;
        }
        scan.Step(written() + 1, written() + 1 + n - j);
        if (in[i] == u'\n' && in[j] == u' ') {
            ++j;
            if (out != begin) continue;  // p goes back and forward: the same position again
        }
        *out++ = in[i];
        i = j++;
    }
    if (i < n) *out++ = in[i];
    while (j < n) *out++ = in[j++];
    text.resize(written());
}

// The space in front of "," "." ":" ";" goes. After the runs are collapsed no two spaces meet and the
// text does not start with one, so a replacement never enables another at the step-back position;
// the step after it looks at the mark itself.
void DropSpaceBeforePunctuation(std::u16string& text, Scan& scan) {
    const size_t n = text.size();
    const char16_t* in = text.data();
    char16_t* const begin = text.data();
    char16_t* out = begin;
    auto written = [&] { return static_cast<size_t>(out - begin); };
    size_t i = 0;
    while (i + 1 < n) {  // p = written + 1 < L = written + n - i
        i = scan.CopyPlain(in, i, n - 1, out, [](char16_t c) { return c != u' '; });
        if (i + 1 >= n) break;
        scan.Step(written() + 1, written() + n - i);
        if (in[i] == u' ' && IsMarkAfterSpace(in[i + 1])) {
            ++i;
        } else {
            *out++ = in[i++];
        }
    }
    while (i < n) *out++ = in[i++];
    text.resize(written());
}

bool IsBlankLine(std::u16string_view line) {
    return std::none_of(line.begin(), line.end(), [](char16_t c) { return c >= u'\u0021' && c <= u'\u044F'; });
}

}  // namespace

std::u16string RemoveExtraSpaces(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление пробелов");
    Scan scan(progress, stepLimit);
    // The passes only delete, so each compacts the one working copy in place: the write position
    // never passes the read position.
    std::u16string result = text;
    CollapseSpaceRuns(result, scan);
    DropSpaceAfterLineFeed(result, scan);
    DropSpaceBeforePunctuation(result, scan);
    progress.FinishReport();
    return result;
}

std::u16string RemoveEmptyLines(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление пустых строк");
    // Lines are visited in place, never listed: a text of many empty lines would need a view per line.
    // A first pass counts the lines and the size of the result, so the result is allocated once.
    size_t lineCount = 0, resultSize = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        ++lineCount;
        if (!IsBlankLine(line)) resultSize += line.size() + 2;
    });
    std::u16string result;
    result.reserve(resultSize);
    StepCounter counter(stepLimit);
    // The walk removes blank lines from the list in place: after examining line k (0-based) of the
    // input the list holds the kept lines and the unexamined ones, and the index is the kept count.
    size_t k = 0, kept = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        if (!IsBlankLine(line)) {
            result.append(line);
            result.append(u"\r\n");
            ++kept;
        }
        if (counter.StepDone()) {
            const size_t count = kept + (lineCount - k - 1);
            progress.ReportPercent(PercentOfLinesPlusOne(static_cast<int64_t>(kept), static_cast<int64_t>(count)));
            progress.PumpEvents();
        }
        ++k;
    });
    progress.FinishReport();
    return result;
}

}  // namespace vernalith
