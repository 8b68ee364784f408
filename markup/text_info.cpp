#include "markup/text_info.h"

#include <algorithm>
#include <numeric>

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

// Word counts in order of first appearance, in an open-addressing hash table. The words are views
// into the lower-cased text (the function words into their literals, marked as skipped), so a word
// costs one hash and one probe and no allocation.
class WordTally {
public:
    explicit WordTally(size_t expectedWords) {
        size_t capacity = 64;
        while (capacity < expectedWords * 2) capacity *= 2;
        slots_.assign(capacity, kEmpty);
        entries_.reserve(expectedWords);
        words_.reserve(expectedWords);
        counts_.reserve(expectedWords);
        for (std::u16string_view word : kFunctionWords) Find(word, Hash(word), true);
    }

    void Add(std::u16string_view word) {
        const uint32_t entry = Find(word, Hash(word), false);
        if (entry != kSkipped) ++counts_[entry];
    }

    const std::vector<std::u16string_view>& words() const { return words_; }
    const std::vector<int64_t>& counts() const { return counts_; }

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;
    static constexpr uint32_t kSkipped = UINT32_MAX - 1;

    struct Entry {
        std::u16string_view word;
        uint64_t hash;
        uint32_t index;  // into words_ and counts_, or kSkipped
    };

    static uint64_t Hash(std::u16string_view word) {
        uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a over the code units
        for (char16_t c : word) hash = (hash ^ c) * 0x100000001b3u;
        return hash ^ (hash >> 29);
    }

    // The entry's index for the word, added (with a count of 0) when it is new.
    uint32_t Find(std::u16string_view word, uint64_t hash, bool skipped) {
        const size_t mask = slots_.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const uint32_t e = slots_[slot];
            if (e == kEmpty) {
                const uint32_t index = skipped ? kSkipped : static_cast<uint32_t>(words_.size());
                if (!skipped) {
                    words_.push_back(word);
                    counts_.push_back(0);
                }
                slots_[slot] = static_cast<uint32_t>(entries_.size());
                entries_.push_back({word, hash, index});
                if (entries_.size() * 2 > slots_.size()) Grow();
                return index;
            }
            if (entries_[e].hash == hash && entries_[e].word == word) return entries_[e].index;
        }
    }

    void Grow() {
        slots_.assign(slots_.size() * 2, kEmpty);
        const size_t mask = slots_.size() - 1;
        for (size_t e = 0; e < entries_.size(); ++e) {
            size_t slot = entries_[e].hash & mask;
            while (slots_[slot] != kEmpty) slot = (slot + 1) & mask;
            slots_[slot] = static_cast<uint32_t>(e);
        }
    }

    std::vector<uint32_t> slots_;
    std::vector<Entry> entries_;
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
    WordTally tally(std::min<size_t>(length / 16, size_t{1} << 20));
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

    TextInformation info;
    info.characters = static_cast<int64_t>(length);
    info.nonSpaceCharacters = info.characters - spaces;
    info.totalLabel = u"всего символов " + DecimalText(info.characters);
    info.nonSpaceLabel = u"символов без пробелов " + DecimalText(info.nonSpaceCharacters);

    // Highest count first; equal counts keep their order of first appearance (a stable exchange
    // sort gives exactly this order).
    const std::vector<int64_t>& counts = tally.counts();
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
