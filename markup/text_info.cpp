#include "markup/text_info.h"

#include <algorithm>

#include "core/chars.h"
#include "core/percent.h"
#include "markup/decimal_text.h"
#include "text/case_table.h"

namespace vernalith {

const std::u16string_view kFunctionWords[39] = {
    u"и",   u"в",   u"с",  u"на",  u"не",  u"для", u"или", u"он",  u"она", u"они", u"это", u"но", u"как",
    u"по",  u"его", u"из", u"все", u"а",   u"что", u"при", u"вот", u"о",   u"к",   u"ж",   u"во", u"мы",
    u"них", u"так", u"от", u"же",  u"эта", u"у",   u"то",  u"за",  u"до",  u"эй",  u"ни",  u"да", u"бы",
};

namespace {

void Report(ProgressReporter& progress, int64_t done, int64_t total) {
    progress.ReportPercentSpaced(static_cast<int>(RoundedRatio(100 * done, total)));
    progress.PumpEvents();
}

constexpr size_t kFunctionWordCount = std::size(kFunctionWords);

// FNV-1a over the lower-cased code units, the same whichever way the word is given.
class WordHash {
public:
    void Add(char16_t lowered) { hash_ = (hash_ ^ lowered) * 0x100000001b3u; }
    uint64_t Value() const { return hash_ ^ (hash_ >> 29); }

private:
    uint64_t hash_ = 0xcbf29ce484222325u;
};

// The length of the word starting at `start`: the run of letter-range characters there.
size_t WordLengthAt(std::u16string_view text, size_t start) {
    size_t end = start;
    while (end < text.size() && InLetterRange(text[end])) ++end;
    return end - start;
}

// Word counts in order of first appearance, in an open-addressing hash table whose slots hold indices:
// below kFunctionWordCount a function word (found, but never counted), above it an entry of the word
// list. An entry is only the position of the word's first occurrence and its count; the word is read
// from the text, lower-cased, whenever it is compared. A word costs one probe and no allocation, and
// sixteen bytes plus its slots (two to four, of four bytes) of memory. Indices are 32 bits wide, which
// holds every text under eight thousand million characters (a word and its end take two at least).
class WordTally {
public:
    // Room for `expectedWords` distinct words is reserved, which takes memory only as far as it is used.
    WordTally(std::u16string_view text, size_t expectedWords) : text_(text) {
        entries_.reserve(expectedWords);
        Resize(128);
    }

    // Counts the word at [start, start + length) of the text; `hash` is its WordHash value.
    void Add(size_t start, size_t length, uint64_t hash) {
        if (Size() * 2 >= slots_.size()) Resize(slots_.size() * 2);
        const size_t mask = slots_.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const uint32_t index = slots_[slot];
            if (index == kEmpty) {
                slots_[slot] = static_cast<uint32_t>(Size());
                entries_.push_back({start, 1});
                return;
            }
            if (Matches(index, start, length)) {
                if (index >= kFunctionWordCount) ++entries_[index - kFunctionWordCount].count;
                return;
            }
        }
    }

    // Gives the table's memory back and hands over the words, in order of first appearance.
    std::vector<WordCount> TakeWords() {
        std::vector<uint32_t>().swap(slots_);
        return std::move(entries_);
    }

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;

    size_t Size() const { return kFunctionWordCount + entries_.size(); }

    // Whether the word behind `index` equals the text's word at [start, start + length), lower-cased.
    bool Matches(uint32_t index, size_t start, size_t length) const {
        if (index < kFunctionWordCount) {
            const std::u16string_view word = kFunctionWords[index];
            if (word.size() != length) return false;
            for (size_t i = 0; i < length; ++i) {
                if (word[i] != ToLowerChar(text_[start + i])) return false;
            }
            return true;
        }
        // Both are maximal runs of letters: equal when the first `length` characters are, and the
        // stored run ends there too.
        const size_t other = entries_[index - kFunctionWordCount].start;
        if (other + length > text_.size()) return false;
        for (size_t i = 0; i < length; ++i) {
            if (ToLowerChar(text_[other + i]) != ToLowerChar(text_[start + i])) return false;
        }
        return other + length == text_.size() || !InLetterRange(text_[other + length]);
    }

    uint64_t HashOf(size_t index) const {
        WordHash hash;
        if (index < kFunctionWordCount) {
            for (char16_t c : kFunctionWords[index]) hash.Add(c);
        } else {
            const size_t start = entries_[index - kFunctionWordCount].start;
            for (size_t i = start; i < text_.size() && InLetterRange(text_[i]); ++i) hash.Add(ToLowerChar(text_[i]));
        }
        return hash.Value();
    }

    void Resize(size_t slots) {
        slots_.assign(slots, kEmpty);
        const size_t mask = slots - 1;
        for (size_t index = 0; index < Size(); ++index) {
            size_t slot = HashOf(index) & mask;
            while (slots_[slot] != kEmpty) slot = (slot + 1) & mask;
            slots_[slot] = static_cast<uint32_t>(index);
        }
    }

    std::u16string_view text_;
    std::vector<uint32_t> slots_;
    std::vector<WordCount> entries_;
};

}  // namespace

std::optional<TextInformation> CollectTextInformation(std::u16string_view text, ProgressReporter& progress,
                                                      int scanStepLimit, int sortPassLimit) {
    if (text.empty()) return std::nullopt;
    const size_t length = text.size();
    const auto steps = static_cast<int64_t>(length) + 3;

    // Step 0 is the space in front of the text, step i + 1 the character text[i], then the space
    // after the text (which closes a last word) and one more character.
    StepCounter counter(scanStepLimit);
    auto step = [&](size_t k) {
        if (counter.Step()) Report(progress, static_cast<int64_t>(k), steps);
    };
    // Room for a distinct word every four units (a word and the character after it take two at least;
    // beyond that the list grows as usual).
    WordTally tally(text, length / 4 + 64);
    int64_t spaces = 0;
    bool open = false;
    size_t wordStart = 0;
    WordHash hash;
    step(0);
    for (size_t i = 0; i < length; ++i) {
        step(i + 1);
        const char16_t c = text[i];
        if (InLetterRange(c)) {
            if (!open) {
                open = true;
                wordStart = i;
                hash = WordHash();
            }
            hash.Add(ToLowerChar(c));
        } else {
            if (open) {
                tally.Add(wordStart, i - wordStart, hash.Value());
                open = false;
            }
            if (c == kSpace) ++spaces;
        }
    }
    step(length + 1);
    if (open) tally.Add(wordStart, length - wordStart, hash.Value());
    step(length + 2);

    TextInformation info;
    info.characters = static_cast<int64_t>(length);
    info.nonSpaceCharacters = info.characters - spaces;
    info.totalLabel = u"всего символов " + DecimalText(info.characters);
    info.nonSpaceLabel = u"символов без пробелов " + DecimalText(info.nonSpaceCharacters);

    // Highest count first; equal counts keep their order of first appearance, which is the order of
    // the first occurrences' positions. Sorted in place: the list is the largest thing held here.
    info.text = text;
    info.words = tally.TakeWords();
    std::sort(info.words.begin(), info.words.end(), [](const WordCount& a, const WordCount& b) {
        return a.count != b.count ? a.count > b.count : a.start < b.start;
    });
    // The reports stand for one pass of an exchange sort per distinct word; one every `sortPassLimit`.
    const auto passes = static_cast<int64_t>(info.words.size());
    StepCounter passCounter(sortPassLimit);
    for (int64_t pass = 0; pass < passes; ++pass) {
        if (passCounter.Step()) Report(progress, pass, passes);
    }
    progress.ClearPercent();
    return info;
}

std::u16string_view TextInformation::Spelling(const WordCount& word) const {
    return text.substr(word.start, WordLengthAt(text, word.start));
}

std::u16string TextInformation::Word(const WordCount& word) const { return ToLowerText(Spelling(word)); }

void AppendWordListLine(std::u16string& out, const TextInformation& information, const WordCount& word) {
    for (char16_t c : information.Spelling(word)) out.push_back(ToLowerChar(c));
    out.append(u" - ");
    char16_t digits[20];
    size_t size = 0;
    for (uint64_t count = static_cast<uint64_t>(word.count);; count /= 10) {
        digits[size++] = static_cast<char16_t>(u'0' + count % 10);
        if (count < 10) break;
    }
    while (size > 0) out.push_back(digits[--size]);
}

size_t WordListLineLength(const TextInformation& information, const WordCount& word) {
    size_t size = WordLengthAt(information.text, word.start) + 3 + 1;  // " - " and the count's first digit
    for (int64_t count = word.count; count >= 10; count /= 10) ++size;
    return size;
}

std::u16string WordListLine(const TextInformation& information, const WordCount& word) {
    std::u16string line;
    line.reserve(WordListLineLength(information, word));
    AppendWordListLine(line, information, word);
    return line;
}

}  // namespace vernalith
