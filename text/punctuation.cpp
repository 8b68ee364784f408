#include "text/punctuation.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "core/chars.h"
#include "core/percent.h"
#include "text/case_table.h"

namespace vernalith {
namespace {

bool IsMark(char16_t c) {
    return c == u',' || c == u'.' || c == u':' || c == u';' || c == u'!' || c == u'?';
}

// "ё" and "Ё" lower to U+0451, outside the range, so they are not letters here.
bool IsLetter(char16_t c) { return InLetterRange(ToLowerChar(c)); }

// A report at the end of every step, with the position the step moved on to.
void StepReport(StepCounter& counter, ProgressReporter& progress, size_t position, size_t length) {
    if (counter.Step()) {
        progress.ReportPercent(PercentOfText(static_cast<int64_t>(position), static_cast<int64_t>(length)));
        progress.PumpEvents();
    }
}

// Pass 1: where a mark is followed by the same mark the first is deleted and, away from position 1,
// the same position is looked at again. Built in one sweep: the text is out[0, o) then in[i, n).
std::u16string CollapseDoubledMarks(const std::u16string& in, ProgressReporter& progress, int stepLimit) {
    StepCounter counter(stepLimit);
    const size_t n = in.size();
    std::u16string out(n, u'\0');
    size_t o = 0, i = 0;
    while (i < n) {  // position o + 1 up to the length o + n - i
        if (i + 1 < n && in[i] == in[i + 1] && IsMark(in[i])) {
            ++i;
            if (o == 0) out[o++] = in[i++];  // at position 1 the scan moves on past the mark that is left
        } else {
            out[o++] = in[i++];
        }
        StepReport(counter, progress, o + 1, o + n - i);
    }
    out.resize(o);
    return out;
}

// Pass 2. The walk goes over the text and starts a forward scan at the start and at every line feed;
// a scan runs on until it examines a letter or reaches the last character, deleting every mark it
// examines and then passing over the character after it. Scans from later line feeds cross the same
// stretches again, so each would cost the length of a run of lines without letters. Here the scans
// jump: `next` links every character to the next character that is a letter or a mark still in the
// text (a union-find with path halving), and `gap[j]` tells whether anything other than a letter or a
// mark stands between the letter-or-mark j and the previous one still in the text; that decides
// whether the character passed over after a deletion is such a character or not.
template <typename Index>
std::u16string DeleteMarksAtLineStarts(const std::u16string& s, ProgressReporter& progress, int stepLimit) {
    const size_t n = s.size();
    std::vector<Index> next(n + 1);
    std::vector<uint8_t> gap(n + 1, 0);
    for (size_t j = 0; j < n; ++j) {
        const bool counts = IsMark(s[j]) || IsLetter(s[j]);
        next[j] = static_cast<Index>(counts ? j : j + 1);
        gap[j + 1] = !counts;
    }
    next[n] = static_cast<Index>(n);
    auto find = [&](size_t x) {
        while (next[x] != x) {
            next[x] = next[next[x]];
            x = next[x];
        }
        return x;
    };
    size_t deleted = 0;
    auto scan = [&](size_t start) {
        size_t e = find(start);
        while (e + 1 < n && !IsLetter(s[e])) {  // a mark below the last position: deleted
            const size_t f = find(e + 1);
            const bool passesOverF = f < n && !gap[f];  // the character after the mark is f itself
            next[e] = static_cast<Index>(e + 1);
            ++deleted;
            if (f < n) gap[f] = gap[f] | gap[e];
            e = passesOverF ? find(f + 1) : f;
        }
    };
    auto isDeleted = [&](size_t j) { return IsMark(s[j]) && next[j] != j; };

    StepCounter counter(stepLimit);
    if (n > 0) scan(0);
    std::u16string out(n, u'\0');
    size_t o = 0;
    for (size_t j = 0; j < n; ++j) {
        if (isDeleted(j)) continue;
        if (s[j] == kLF) scan(j);
        out[o++] = s[j];
        StepReport(counter, progress, o + 1, n - deleted);
    }
    out.resize(o);
    return out;
}

}  // namespace

std::u16string RemoveRepeatedPunctuation(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление повторяющейся пунктуации");
    std::u16string result = CollapseDoubledMarks(text, progress, stepLimit);
    if (result.size() < std::numeric_limits<uint32_t>::max()) {
        result = DeleteMarksAtLineStarts<uint32_t>(result, progress, stepLimit);
    } else {
        result = DeleteMarksAtLineStarts<size_t>(result, progress, stepLimit);
    }
    progress.FinishReport();
    return result;
}

}  // namespace vernalith
