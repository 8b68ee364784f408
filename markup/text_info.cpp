#include "markup/text_info.h"

#include <algorithm>
#include <numeric>
#include <span>

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

// Word counts in order of first appearance, in an open-addressing hash table whose slots hold indices
// into the word list. The words are views into the lower-cased text; the function words come first in
// the list, marked as skipped, and are left out of what the tally gives. A word costs one hash and one
// probe and no allocation, and about forty bytes of memory.
class WordTally {
public:
    // Room for `expectedWords` distinct words is reserved, which takes memory only as far as it is used.
    explicit WordTally(size_t expectedWords) {
        words_.reserve(expectedWords + std::size(kFunctionWords));
        counts_.reserve(expectedWords + std::size(kFunctionWords));
        for (std::u16string_view word : kFunctionWords) Find(word);
    }

    void Add(std::u16string_view word) {
        const size_t index = Find(word);
        if (index >= std::size(kFunctionWords)) ++counts_[index];
    }

    // Gives the table's memory back once every word is counted.
    void DropTable() { std::vector<uint32_t>().swap(slots_); }

    // The words and their counts, without the function words.
    std::span<const std::u16string_view> words() const { return std::span(words_).subspan(std::size(kFunctionWords)); }
    std::span<const int64_t> counts() const { return std::span(counts_).subspan(std::size(kFunctionWords)); }

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;

    static uint64_t Hash(std::u16string_view word) {
        uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a over the code units
        for (char16_t c : word) hash = (hash ^ c) * 0x100000001b3u;
        return hash ^ (hash >> 29);
    }

    // The word's index, added (with a count of 0) when it is new.
    size_t Find(std::u16string_view word) {
        if (words_.size() * 2 >= slots_.size()) Grow();
        const size_t mask = slots_.size() - 1;
        for (size_t slot = Hash(word) & mask;; slot = (slot + 1) & mask) {
            const uint32_t index = slots_[slot];
            if (index == kEmpty) {
                slots_[slot] = static_cast<uint32_t>(words_.size());
                words_.push_back(word);
                counts_.push_back(0);
                return words_.size() - 1;
            }
            if (words_[index] == word) return index;
        }
    }

    void Grow() {
        slots_.assign(std::max<size_t>(slots_.size() * 2, 128), kEmpty);
        const size_t mask = slots_.size() - 1;
        for (size_t index = 0; index < words_.size(); ++index) {
            size_t slot = Hash(words_[index]) & mask;
            while (slots_[slot] != kEmpty) slot = (slot + 1) & mask;
            slots_[slot] = static_cast<uint32_t>(index);
        }
    }

    std::vector<uint32_t> slots_;
    std::vector<std::u16string_view> words_;
    std::vector<int64_t> counts_;
};

}  // namespace

std::optional<TextInformation> CollectTextInformation(std::u16string_view text, ProgressReporter& progress,
                                                      int scanStepLimit, int sortPassLimit) {
    if (text.empty()) return std::nullopt;
    const std::u16string lowered = ToLowerText(text);
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
    WordTally tally(length / 4 + 64);
    int64_t spaces = 0;
    bool open = false;
    size_t wordStart = 0;
    step(0);
    for (size_t i = 0; i < length; ++i) {
        step(i + 1);
        const char16_t c = text[i];
        if (InLetterRange(c)) {
            if (!open) {
                open = true;
                wordStart = i;
            }
        } else {
            if (open) {
                tally.Add(std::u16string_view(lowered).substr(wordStart, i - wordStart));
                open = false;
            }
            if (c == kSpace) ++spaces;
        }
    }
    step(length + 1);
    if (open) tally.Add(std::u16string_view(lowered).substr(wordStart));
    step(length + 2);
    tally.DropTable();

    TextInformation info;
    info.characters = static_cast<int64_t>(length);
    info.nonSpaceCharacters = info.characters - spaces;
    info.totalLabel = u"всего символов " + DecimalText(info.characters);
    info.nonSpaceLabel = u"символов без пробелов " + DecimalText(info.nonSpaceCharacters);

    // Highest count first; equal counts keep their order of first appearance (a stable exchange
    // sort gives exactly this order).
    const std::span<const int64_t> counts = tally.counts();
    std::vector<uint32_t> order(counts.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return counts[a] > counts[b]; });
    // One pass of that sort per distinct word; a report every `sortPassLimit` passes.
    const auto passes = static_cast<int64_t>(counts.size());
    StepCounter passCounter(sortPassLimit);
    for (int64_t pass = 0; pass < passes; ++pass) {
        if (passCounter.Step()) Report(progress, pass, passes);
    }

    info.words.reserve(order.size());
    for (uint32_t index : order) info.words.push_back({std::u16string(tally.words()[index]), counts[index]});
    progress.ClearPercent();
    return info;
}

std::u16string WordListLine(const WordCount& word) { return word.word + u" - " + DecimalText(word.count); }

}  // namespace vernalith
