#include "text/characters.h"

#include <algorithm>
#include <vector>

#include "core/line_list.h"
#include "core/percent.h"
#include "text/case_table.h"

namespace vernalith {
namespace {

constexpr size_t kNone = std::u16string_view::npos;

// The occurrences of a pattern in a text, found in one left-to-right pass (Knuth-Morris-Pratt), so a
// scan that asks for them in order costs time linear in the text whatever the pattern. With `Fold`
// the text is compared through the case table (the pattern must already be lower-case).
template <bool Fold>
class OccurrenceFinder {
public:
    OccurrenceFinder(std::u16string_view text, std::u16string_view pattern)
        : text_(text), pattern_(pattern), border_(pattern.size(), 0) {
        for (size_t q = 1, k = 0; q < pattern_.size(); ++q) {
            while (k > 0 && pattern_[q] != pattern_[k]) k = border_[k - 1];
            if (pattern_[q] == pattern_[k]) ++k;
            border_[q] = k;
        }
    }

    // The smallest start of an occurrence at or after `from`, or kNone. `from` must never decrease
    // from one call to the next.
    size_t NextFrom(size_t from) {
        if (found_ != kNone && found_ >= from) return found_;
        if (pattern_.empty()) return kNone;
        if (pos_ <= from) {  // nothing read so far can be part of an occurrence from `from` on
            pos_ = from;
            matched_ = 0;
        }
        const size_t m = pattern_.size();
        while (pos_ < text_.size()) {
            if (matched_ == 0) {
                while (pos_ < text_.size() && Key(text_[pos_]) != pattern_[0]) ++pos_;
                if (pos_ == text_.size()) break;
            }
            const char16_t c = Key(text_[pos_++]);
            while (matched_ > 0 && c != pattern_[matched_]) matched_ = border_[matched_ - 1];
            if (c == pattern_[matched_]) ++matched_;
            if (matched_ == m) {
                matched_ = border_[m - 1];
                if (pos_ - m >= from) return found_ = pos_ - m;
            }
        }
        return found_ = kNone;
    }

private:
    static char16_t Key(char16_t c) { return Fold ? ToLowerChar(c) : c; }

    std::u16string_view text_;
    std::u16string_view pattern_;
    std::vector<size_t> border_;  // border_[q]: longest proper border of pattern_[0, q]
    size_t pos_ = 0;              // next text index to read
    size_t matched_ = 0;          // pattern characters matched up to pos_
    size_t found_ = kNone;        // the occurrence last returned
};

// PercentOfText at every position of a scan without a division at every position: the last value
// stands while position / (length + 1) * 100 lies strictly within half a unit of it, where rounding
// can give nothing else; only outside that (or exactly on a half) is the value computed again.
class TextPercent {
public:
    int At(size_t position, size_t length) {
        const int64_t twice = 200 * static_cast<int64_t>(position), divisor = static_cast<int64_t>(length) + 1;
        if (!(twice > (2 * value_ - 1) * divisor && twice < (2 * value_ + 1) * divisor)) {
            value_ = PercentOfText(static_cast<int64_t>(position), static_cast<int64_t>(length));
        }
        return static_cast<int>(value_);
    }

private:
    int64_t value_ = -1;  // no value yet: nothing lies within half a unit of -1
};

// One scan of `RemoveListedCharacters` for the lower-case sequence `e` (not empty). The scan edits the
// text in place with a 1-based position p: on an occurrence at p it deletes it and steps back (not
// below 1), then moves on. Built here in one sweep: the text is out[0, o) followed by in[i, n), the
// position is o + 1, and what stands from p on is always a piece of the input, so the occurrences are
// those of the input. The sweep only deletes, so it compacts the text in place (o never passes i, and
// the finder never reads again what it has read).
std::u16string RemoveSequence(std::u16string text, std::u16string_view e, ProgressReporter& progress, int stepLimit) {
    StepCounter counter(stepLimit);
    const std::u16string_view in = text;
    char16_t* const out = text.data();
    const size_t n = in.size(), m = e.size();
    size_t o = 0, i = 0;
    auto countStep = [&](size_t position) {
        if (counter.StepDone()) {
            progress.ReportPercent(PercentOfText(static_cast<int64_t>(position), static_cast<int64_t>(o + n - i)));
            progress.PumpEvents();
        }
    };
    OccurrenceFinder<true> finder(in, e);
    size_t next = finder.NextFrom(0);
    while (i < n) {  // position o + 1 up to the length o + n - i
        if (i != next) {
            countStep(o + 1);
            out[o++] = in[i++];
            continue;
        }
        i += m;
        if (o > 0) {
            countStep(o);  // stepped back: the deletion point is looked at again
        } else {
            countStep(1);  // no step back at position 1: the character now there is passed over
            if (i < n) out[o++] = in[i++];
        }
        next = finder.NextFrom(i);
    }
    text.resize(o);
    // The scan misses an occurrence that a deletion forms across the deletion point; at the start of the
    // text one more check catches it, comparing the text itself (not lowered) with the sequence.
    if (text.size() >= m && std::u16string_view(text).substr(0, m) == e) text.erase(0, m);
    return text;
}

// A result written through an index into a buffer that is sized ahead (and doubled when a growing
// replacement needs more), rather than appended to piece by piece.
class ResultBuffer {
public:
    explicit ResultBuffer(size_t expected) : text_(expected, u'\0') {}

    void Append(const char16_t* chars, size_t count) {
        if (size_ + count > text_.size()) text_.resize(std::max(2 * text_.size(), size_ + count));
        std::copy(chars, chars + count, text_.data() + size_);
        size_ += count;
    }
    void Append(std::u16string_view chars) { Append(chars.data(), chars.size()); }

    std::u16string Take() && {
        text_.resize(size_);
        return std::move(text_);
    }

private:
    std::u16string text_;
    size_t size_ = 0;
};

// The number of occurrences that do not overlap, taken from the left: what a growing replacement adds
// to the text, give or take the ones a scan finds across the end of an inserted replacement.
size_t CountOccurrences(std::u16string_view text, std::u16string_view pattern) {
    OccurrenceFinder<false> finder(text, pattern);
    size_t count = 0;
    for (size_t at = finder.NextFrom(0); at != kNone; at = finder.NextFrom(at + pattern.size())) ++count;
    return count;
}

// One scan of `ReplaceListedCharacters` for one pair. The scan edits the text in place with a 1-based
// position p: at every position it counts a step, replaces an occurrence at p, sets the gauge and lets
// events through, then moves on by one, that is into an inserted replacement at its second character.
// Built here in one sweep: the text is `out`, then in[segment, i) (settled but not yet copied), then the
// rest of an inserted replacement not yet passed (R[k, end)), then in[i, n).
std::u16string ReplacePairInText(const std::u16string& in, const ReplacePair& pair, StepCounter& counter,
                                 TextPercent& gauge, ProgressReporter& progress) {
    const std::u16string_view search = pair.search, replacement = pair.replacement;
    const size_t n = in.size(), sLen = search.size(), rLen = replacement.size();
    // An empty search part with an empty replacement matches everywhere and changes nothing.
    const bool matching = sLen > 0;
    const bool skipReplacement = ReplacementRescansItself(pair);
    ResultBuffer out(n + (matching && rLen > sLen ? CountOccurrences(in, search) * (rLen - sLen) : 0));
    size_t settled = 0;  // characters behind the scan position
    size_t segment = 0, i = 0, k = rLen;
    OccurrenceFinder<false> finder(in, search);
    size_t next = matching ? finder.NextFrom(0) : kNone;
    while (true) {
        const size_t pendingLength = rLen - k;
        if (pendingLength + (n - i) == 0) break;  // position settled + 1 past the length
        const size_t position = settled + 1;
        if (counter.StepDone()) {
            progress.ReportPercent(
                PercentOfText(static_cast<int64_t>(position), static_cast<int64_t>(settled + pendingLength + n - i)));
            progress.PumpEvents();
        }
        bool replaced = false;
        if (pendingLength > 0) {
            // Inside an inserted replacement the search part can only match across its end: an occurrence
            // wholly inside it after its first character is what ReplacementRescansItself sends elsewhere.
            if (matching && sLen > pendingLength && search.substr(0, pendingLength) == replacement.substr(k) &&
                sLen - pendingLength <= n - i &&
                std::u16string_view(in).substr(i, sLen - pendingLength) == search.substr(pendingLength)) {
                i += sLen - pendingLength;
                segment = i;
                k = 0;
                replaced = true;
            }
        } else if (i == next) {
            out.Append(in.data() + segment, i - segment);
            i += sLen;
            segment = i;
            k = 0;
            replaced = true;
        }
        progress.SetGauge(Gauge::Gauge1, gauge.At(position, settled + (rLen - k) + (n - i)));
        progress.PumpEvents();
        if (replaced && skipReplacement) {  // the scan goes on after the whole replacement
            out.Append(replacement);
            settled += rLen;
            k = rLen;
        } else if (k < rLen) {
            out.Append(replacement.substr(k++, 1));
            ++settled;
        } else if (i < n) {  // after an empty replacement the character that took its place is passed over
            ++i;
            ++settled;
        }
        if (next < i) next = finder.NextFrom(i);
    }
    out.Append(in.data() + segment, n - segment);
    return std::move(out).Take();
}

}  // namespace

std::u16string RemoveListedCharacters(const std::u16string& text, std::u16string_view removeList,
                                      ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление символов");
    const std::u16string lowered = ToLowerText(removeList);
    std::u16string result = text;
    for (std::u16string_view line : SplitLineViews(lowered)) {
        progress.PumpEvents();
        // An empty line would match at every position without removing anything and hold the scan on
        // one position for ever; it has nothing to remove, so it is passed over.
        if (line.empty()) continue;
        result = RemoveSequence(std::move(result), line, progress, stepLimit);
    }
    progress.FinishReport();
    return result;
}

ReplacePair SplitReplaceLine(std::u16string_view line, std::u16string_view separator) {
    if (!separator.empty()) {
        const size_t at = line.find(separator);
        if (at != std::u16string_view::npos) return {line.substr(0, at), line.substr(at + separator.size())};
    }
    return {std::u16string_view(), line};
}

bool ReplacementRescansItself(const ReplacePair& pair) {
    return !pair.search.empty() && pair.replacement.size() > 1 && pair.replacement.find(pair.search, 1) != kNone;
}

std::u16string ReplaceListedCharacters(const std::u16string& text, std::u16string_view replaceList,
                                       std::u16string_view separator, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"замена символов");
    StepCounter counter(stepLimit);  // one count for the whole run
    TextPercent gauge;
    std::u16string result = text;
    for (std::u16string_view line : SplitLineViews(replaceList)) {
        const ReplacePair pair = SplitReplaceLine(line, separator);
        progress.PumpEvents();
        // An empty search part matches everywhere; with a replacement it would insert it at every position
        // while the text grows for ever. Such a line is passed over.
        if (pair.search.empty() && !pair.replacement.empty()) continue;
        result = ReplacePairInText(result, pair, counter, gauge, progress);
    }
    progress.FinishReport();
    return result;
}

}  // namespace vernalith
