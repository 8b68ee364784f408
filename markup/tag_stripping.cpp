#include "markup/tag_stripping.h"

#include <algorithm>
#include <cstring>

#include "core/percent.h"

namespace vernalith {

// The scan this stands for walks a working copy with a 1-based position p, deleting each tag in
// place and looking at p again after a deletion; it stops when p reaches the last character. Here
// the working copy is always the finished output followed by the unread input from `i`, so p is
// the output length + 1 and the scan runs while more than one input character is left. Steps that
// delete nothing are taken in runs, copied with one memcpy, and a run never passes the step that
// has to report.
std::u16string StripHtmlTags(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление html разметки");
    const size_t n = text.size();
    const char16_t* const in = text.data();
    std::u16string result(n, u'\0');
    char16_t* const begin = result.data();
    char16_t* out = begin;

    // Steps left before the one that must report first: the counter starts at 0 and reports once it
    // is past the limit, so limit + 1 quiet steps come first, and after every report limit + 1 again
    // (the reporting step included).
    const size_t stepsPerReport = static_cast<size_t>(std::max(stepLimit, 0)) + 1;
    size_t stepsLeft = stepsPerReport;
    // Once a "<" finds no ">" after it, no later "<" can find one either.
    bool closeAhead = true;
    size_t i = 0;
    while (i + 1 < n) {
        if (stepsLeft == 0) {
            progress.ReportPercent(PercentOfText(out - begin + 1, static_cast<int64_t>(n)));
            progress.PumpEvents();
            stepsLeft = stepsPerReport;
        }
        if (closeAhead && in[i] == u'<') {
            --stepsLeft;
            const char16_t* close = std::find(in + i + 1, in + n, u'>');
            if (close != in + n) {
                i = static_cast<size_t>(close - in) + 1;  // the same position is examined again
                continue;
            }
            closeAhead = false;
            *out++ = u'<';
            ++i;
            continue;
        }
        // A run of steps that delete nothing: up to the next "<" that may open a tag, the last
        // character (never examined) or the step that reports.
        const size_t limit = std::min(n - 1, i + stepsLeft);
        const size_t end = closeAhead ? static_cast<size_t>(std::find(in + i + 1, in + limit, u'<') - in) : limit;
        std::memcpy(out, in + i, (end - i) * sizeof(char16_t));
        out += end - i;
        stepsLeft -= end - i;
        i = end;
    }
    if (i < n) *out++ = in[i];
    result.resize(static_cast<size_t>(out - begin));
    progress.FinishReport();
    return result;
}

}  // namespace vernalith
