#include "text/line_breaks.h"

#include "core/chars.h"
#include "core/percent.h"

namespace vernalith {
namespace {

// Both walks are described as edits of a working copy with a 1-based position. Each is built here in
// one left-to-right sweep: at any moment the working copy is `out[0, o)` (settled, behind the walk)
// followed by the unread rest of the input `text[i, n)`, so the walk position is o + 1 and the current
// length is o + n - i, and the progress reports fall exactly where the in-place walk makes them.
void StepReport(StepCounter& counter, ProgressReporter& progress, size_t position, size_t length) {
    if (counter.Step()) {
        progress.ReportPercent(PercentOfText(static_cast<int64_t>(position), static_cast<int64_t>(length)));
        progress.PumpEvents();
    }
}

bool IsSpaceOrHyphen(char16_t c) { return c == u' ' || c == u'-'; }

bool IsSentenceEnd(char16_t c) { return c == u'.' || c == u'!' || c == u'?' || c == u':' || c == u';'; }

// The look-ahead from a hyphen: the offset of the CR that ends its line when at most a few spaces or
// hyphens stand between (the look-ahead takes offsets 0 to 6 and stops at any other character), or 0.
// `at(j)` is the character at offset j; offsets must stay below `limit`.
template <typename At>
size_t HyphenBreakOffset(At at, size_t limit) {
    for (size_t j = 0; j < limit; ++j) {
        const char16_t c = at(j);
        if (c == kCR) return j;
        if (!IsSpaceOrHyphen(c) || j > 5) return 0;
    }
    return 0;
}

}  // namespace

std::u16string RemoveHyphenation(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление переносов");
    StepCounter counter(stepLimit);
    const size_t n = text.size();
    std::u16string out(n, u'\0');
    size_t o = 0, i = 0;
    // The walk index starts at 0, which stands for position 1 as well: the first step looks at position
    // 1, and its look-ahead sees position 1 twice (offsets 0 and 1) before position 2 at offset 2.
    if (n > 0) {
        StepReport(counter, progress, 0, n);
        if (text[0] == u'-') {
            const size_t j = HyphenBreakOffset([&](size_t k) { return text[k == 0 ? 0 : k - 1]; }, n);
            if (j > 0) i = j + 1;  // positions 1 to j + 1: the hyphen up to the CR and its line feed
        }
    }
    // From index 1 on the index is the position o + 1; the walk goes on while it is below the length.
    while (n - i > 1) {
        StepReport(counter, progress, o + 1, o + n - i);
        if (text[i] == u'-') {
            const size_t j = HyphenBreakOffset([&](size_t k) { return text[i + k]; }, n - i - 1);
            if (j > 0) {
                i += j + 2;
                // The walk moves on past the character that took the hyphen's place without looking at it.
                if (i < n) out[o++] = text[i++];
                continue;
            }
        }
        out[o++] = text[i++];
    }
    out.resize(o);
    out.append(text, i, n - i);
    progress.FinishReport();
    return out;
}

std::u16string RemoveExtraLineBreaks(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление переходов на новую строку");
    StepCounter counter(stepLimit);
    const size_t n = text.size();
    std::u16string out(n, u'\0');
    size_t o = 0, i = 0;
    // What the walk back from a CR would meet first: the last letter or sentence end before the walk
    // position. Joins put in spaces and drop the character after the CR, which changes nothing here.
    enum class Last { Nothing, Letter, SentenceEnd } last = Last::Nothing;
    while (n - i > 1) {  // position o + 1 below the length o + n - i
        StepReport(counter, progress, o + 1, o + n - i);
        const char16_t c = text[i];
        if (c == kCR && last == Last::Letter) {
            out[o++] = u' ';
            i += 2;
            continue;
        }
        if (InLetterRange(c)) {
            last = Last::Letter;
        } else if (IsSentenceEnd(c)) {
            last = Last::SentenceEnd;
        }
        out[o++] = c;
        ++i;
    }
    out.resize(o);
    out.append(text, i, n - i);
    progress.FinishReport();
    return out;
}

}  // namespace vernalith
