#include "text/punctuation.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/chars.h"
#include "core/percent.h"

namespace vernalith {
namespace {

constexpr uint64_t kMarkBits = (uint64_t{1} << ',') | (uint64_t{1} << '.') | (uint64_t{1} << ':') |
                               (uint64_t{1} << ';') | (uint64_t{1} << '!') | (uint64_t{1} << '?');

constexpr bool IsMark(char16_t c) { return c < 64 && ((kMarkBits >> c) & 1); }

// The same tests without branches, for the sweeps over long runs of ordinary characters.
constexpr uint64_t BitOf(uint64_t bits, char16_t c) { return (bits >> (c & 63)) & uint64_t{c < 64}; }
constexpr uint64_t kMarkOrLineFeedBits = kMarkBits | (uint64_t{1} << '\n');

// A letter is a character whose lower-case form lies in the letter range. Lowering moves only letters
// of the case table, all inside the range, and "Ё" out of it (to "ё"), so this is the range without "Ё".
constexpr bool IsLetter(char16_t c) { return InLetterRange(c) && c != u'Ё'; }
static_assert(!IsLetter(u'Ё') && !IsLetter(u'ё') && IsLetter(u'Я') && IsLetter(u'A') && IsLetter(u'я'));

// The step counter of both passes, compared at the end of every step (then increased), with the
// position the step moved on to. Runs of plain steps are counted at once, the reports falling on the
// same steps as counting them one by one.
class EndOfStepReports {
public:
    EndOfStepReports(ProgressReporter& progress, int limit) : progress_(progress), limit_(limit) {}

    void Step(size_t position, size_t length) { Steps(1, position, length); }

    // `count` steps ending at positions first, first + 1, ... of a text of constant length.
    void Steps(size_t count, size_t first, size_t length) {
        if (count_ + static_cast<int64_t>(count) <= limit_ + 1) {  // no step of the run reports
            count_ += static_cast<int64_t>(count);
            return;
        }
        while (count > 0) {
            if (count_ > limit_) {
                progress_.ReportPercent(PercentOfText(static_cast<int64_t>(first), static_cast<int64_t>(length)));
                progress_.PumpEvents();
                count_ = 1;
                --count;
                ++first;
                continue;
            }
            const size_t quiet = std::min(count, static_cast<size_t>(limit_ + 1 - count_));
            count_ += static_cast<int64_t>(quiet);
            count -= quiet;
            first += quiet;
        }
    }

private:
    ProgressReporter& progress_;
    int64_t limit_;
    int64_t count_ = 0;
};

// Pass 1: where a mark is followed by the same mark the first is deleted and, away from position 1,
// the same position is looked at again. Compacts `s` in place in one sweep: the text being scanned is
// s[0, o) followed by s[i, n), and its position is o + 1.
void CollapseDoubledMarks(std::u16string& s, ProgressReporter& progress, int stepLimit) {
    EndOfStepReports steps(progress, stepLimit);
    const size_t n = s.size();
    size_t o = 0, i = 0;
    while (i < n) {  // position o + 1 up to the length o + n - i
        // Plain steps up to the next doubled mark (doubled marks are rare, so the runs are long): each
        // keeps its character, and the length stays.
        const size_t runStart = i, runOut = o;
        while (i + 1 < n && !(BitOf(kMarkBits, s[i]) && s[i] == s[i + 1])) ++i;
        if (i + 1 == n) ++i;
        if (o != runStart) std::memmove(s.data() + o, s.data() + runStart, (i - runStart) * sizeof(char16_t));
        o += i - runStart;
        steps.Steps(i - runStart, runOut + 2, runOut + n - runStart);
        if (i == n) break;
        ++i;                          // the first of the two goes
        if (o == 0) s[o++] = s[i++];  // at position 1 the scan moves on past the mark that is left
        steps.Step(o + 1, o + n - i);
    }
    s.resize(o);
}

// A set of positions 0 to n - 1 with a fast "next member from x on": a bit per position and summary
// levels above it (a bit per word below that is not zero), so long stretches without members are
// crossed in a few steps. About n / 8 bytes.
class PositionSet {
public:
    // The members are the set bits of `words` (bit j % 64 of word j / 64 for position j < n).
    PositionSet(std::vector<uint64_t> words, size_t n) : n_(n) {
        levels_.push_back(std::move(words));
        while (levels_.back().size() > 1) {
            const std::vector<uint64_t>& below = levels_.back();
            std::vector<uint64_t> summary((below.size() + 63) / 64, 0);
            for (size_t w = 0; w < below.size(); ++w) summary[w >> 6] |= uint64_t{below[w] != 0} << (w & 63);
            levels_.push_back(std::move(summary));
        }
    }

    bool Contains(size_t x) const { return (levels_[0][x >> 6] >> (x & 63)) & 1; }

    void Erase(size_t x) {
        for (auto& level : levels_) {
            level[x >> 6] &= ~(uint64_t{1} << (x & 63));
            if (level[x >> 6] != 0) return;
            x >>= 6;
        }
    }

    // The smallest member at or after x, or n when there is none.
    size_t Next(size_t x) const {
        size_t index = x;  // a bit index on the current level
        for (size_t level = 0; level < levels_.size(); ++level) {
            const size_t word = index >> 6;
            if (word >= levels_[level].size()) return n_;
            const uint64_t bits = levels_[level][word] & (~uint64_t{0} << (index & 63));
            if (bits != 0) {
                index = (word << 6) + static_cast<size_t>(std::countr_zero(bits));
                while (level-- > 0) index = (index << 6) + static_cast<size_t>(std::countr_zero(levels_[level][index]));
                return index;
            }
            index = word + 1;
        }
        return n_;
    }

private:
    size_t n_;
    std::vector<std::vector<uint64_t>> levels_;
};

// Pass 2. The walk goes over the text and starts a forward scan at the start and at every line feed;
// a scan runs on until it examines a letter or reaches the last character, deleting every mark it
// examines and then passing over the character after it. Scans from later line feeds cross the same
// stretches again, so walking them character by character would cost the length of a run of lines
// without letters for every line feed in it. Here the scans jump from one letter or mark still in the
// text to the next; everything else (spaces, digits, line breaks, ...) is what a scan passes over in
// any case, and it stays in the text, so a set of those positions tells whether the character that
// follows a deleted mark is one of them. Compacts `s` in place: the walk writes behind itself and the
// scans read ahead of it.
void DeleteMarksAtLineStarts(std::u16string& s, ProgressReporter& progress, int stepLimit) {
    const size_t n = s.size();
    std::vector<uint64_t> words((n + 63) / 64, 0);
    auto letterOrMark = [](char16_t c) {
        return BitOf(kMarkBits, c) | (uint64_t{InLetterRange(c)} & uint64_t{c != u'Ё'});
    };
    for (size_t w = 0; w < n / 64; ++w) {
        const char16_t* chars = s.data() + w * 64;
        uint64_t bits = 0;
        for (size_t b = 0; b < 64; ++b) bits |= letterOrMark(chars[b]) << b;
        words[w] = bits;
    }
    for (size_t j = n / 64 * 64; j < n; ++j) words[j / 64] |= letterOrMark(s[j]) << (j % 64);
    std::vector<uint64_t> otherWords(words.size());
    for (size_t w = 0; w < words.size(); ++w) otherWords[w] = ~words[w];
    if (n % 64 != 0) otherWords.back() &= (uint64_t{1} << (n % 64)) - 1;
    const PositionSet others(std::move(otherWords), n);
    PositionSet lettersAndMarks(std::move(words), n);
    size_t deleted = 0;
    auto scan = [&](size_t start) {
        size_t e = lettersAndMarks.Next(start);
        while (e + 1 < n && !IsLetter(s[e])) {  // a mark below the last position: deleted
            const size_t f = lettersAndMarks.Next(e + 1);
            lettersAndMarks.Erase(e);
            ++deleted;
            // The character that takes the mark's place is passed over: f itself unless something that is
            // neither a letter nor a mark stands between.
            const bool otherBetween = e + 1 < f && (!IsMark(s[e + 1]) || others.Next(e + 1) < f);
            const bool passesOverF = f < n && !otherBetween;
            e = passesOverF ? lettersAndMarks.Next(f + 1) : f;
        }
    };

    EndOfStepReports steps(progress, stepLimit);
    if (n > 0) scan(0);
    size_t o = 0, j = 0;
    while (j < n) {
        // Up to the next line feed or mark every step just keeps its character: the scans that could
        // delete anything there have all been made.
        const size_t runOut = o;
        while (j < n && !BitOf(kMarkOrLineFeedBits, s[j])) s[o++] = s[j++];
        steps.Steps(o - runOut, runOut + 2, n - deleted);
        if (j == n) break;
        if (IsMark(s[j]) && !lettersAndMarks.Contains(j)) {  // deleted by a scan: the walk never meets it
            ++j;
            continue;
        }
        if (s[j] == kLF) scan(j);
        s[o++] = s[j++];
        steps.Step(o + 1, n - deleted);
    }
    s.resize(o);
}

}  // namespace

std::u16string RemoveRepeatedPunctuation(const std::u16string& text, ProgressReporter& progress, int stepLimit) {
    progress.SetStatusCaption(u"удаление повторяющейся пунктуации");
    std::u16string result = text;
    CollapseDoubledMarks(result, progress, stepLimit);
    DeleteMarksAtLineStarts(result, progress, stepLimit);
    progress.FinishReport();
    return result;
}

}  // namespace vernalith
