#include "text/letter_case.h"

#include <algorithm>
#include <string_view>

#include "core/chars.h"
#include "core/percent.h"
#include "text/case_table.h"

namespace vernalith {
namespace {

bool IsSentenceStartTrigger(char16_t c) { return c == u'.' || c == u'!' || c == u'?' || c == kCR; }

// The three characters from 1-based `start` are "т.д" or "т.п". A window that would start before
// position 1 starts there and still takes three characters; one that runs past the end matches nothing.
bool IsAbbreviationAt(const std::u16string& s, int64_t start) {
    const size_t from = static_cast<size_t>(std::max<int64_t>(start, 1)) - 1;
    if (from + 3 > s.size()) return false;
    return s[from] == u'т' && s[from + 1] == u'.' && (s[from + 2] == u'д' || s[from + 2] == u'п');
}

bool LowersIntoLetterRange(char16_t c) { return InLetterRange(ToLowerChar(c)); }

}  // namespace

std::u16string LowerCaseAll(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"опускание регистра");
    StepCounter counter(stepLimit);
    const size_t length = text.size();
    std::u16string out(length, u'\0');
    for (size_t i = 0; i < length; ++i) {
        if (counter.Step()) {
            progress.ReportPercent(PercentOfText(static_cast<int64_t>(i + 1), static_cast<int64_t>(length)));
            progress.PumpEvents();
        }
        out[i] = ToLowerChar(text[i]);
    }
    progress.FinishReport();
    return out;
}

std::u16string CapitalizeSentences(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.PumpEvents();
    progress.SetStatusCaption(u"правка регистра");
    StepCounter counter(stepLimit);
    std::u16string s = text;
    const size_t length = s.size();
    if (length > 0) s[0] = ToUpperChar(s[0]);
    // The forward scan from a mark stops at the first character that lowers into the letter range, or
    // at the last position of the text (never examined). A later mark before that stopping point meets
    // the same characters, none of which changed (raising the found one keeps it in the range), so it
    // stops at the same place and raising again changes nothing: each stretch is scanned once.
    size_t scanEnd = 0;  // 0-based stop of the last forward scan (length - 1 when it found nothing)
    for (size_t i = 0; i + 1 < length; ++i) {  // 1-based position i + 1 below the length
        if (counter.Step()) {
            progress.ReportPercent(PercentOfText(static_cast<int64_t>(i + 1), static_cast<int64_t>(length)));
            progress.PumpEvents();
        }
        if (!IsSentenceStartTrigger(s[i])) continue;
        const int64_t p = static_cast<int64_t>(i) + 1;
        if (IsAbbreviationAt(s, p - 1) || IsAbbreviationAt(s, p - 3)) continue;
        if (i < scanEnd) continue;
        size_t k = i;
        while (k + 1 < length && !LowersIntoLetterRange(s[k])) ++k;
        scanEnd = k;
        if (k + 1 < length) s[k] = ToUpperChar(s[k]);
    }
    progress.FinishReport();
    return s;
}

}  // namespace vernalith
