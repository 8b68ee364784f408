#include "text/line_list_operations.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "core/line_list.h"
#include "core/percent.h"
#include "text/line_collation.h"

namespace vernalith {
namespace {

// A line's place in the sort: 8 bytes of its sort key from the current depth on as one big-endian
// number (zero after the key's NUL), where the whole key starts, and where the line stands in the text
// (lines stand in line order, so that is also the order for equal keys).
struct SortEntry {
    uint64_t prefix;
    size_t key;
    size_t start;
    size_t length;
};

// Keys end with a NUL and hold no other: the bytes up to it, the rest of the prefix staying zero.
uint64_t KeyPrefix(const char* key) {
    uint64_t prefix = 0;
    for (int i = 0; i < 8 && key[i] != '\0'; ++i)
        prefix |= uint64_t{static_cast<unsigned char>(key[i])} << (56 - 8 * i);
    return prefix;
}

// A prefix whose last byte is zero holds the rest of its key, NUL included.
bool EndsKey(uint64_t prefix) { return (prefix & 0xFF) == 0; }

// Orders the entries by their keys, equal keys in line order. Most comparisons are made on the 8-byte
// prefixes in the entries themselves; a run of entries with the same prefix is then ordered by the
// next 8 bytes of their keys, and so on, so a long prefix shared by many lines (a list of addresses)
// costs one pass per 8 bytes instead of slow comparisons of whole keys. A run is always in line order
// when it is taken up, so equal keys keep that order.
void SortByKeys(std::vector<SortEntry>& entries, const std::string& keys) {
    struct Run {
        size_t begin, end, depth;
    };
    std::vector<Run> work{{0, entries.size(), 0}};
    while (!work.empty()) {
        const Run run = work.back();
        work.pop_back();
        const auto first = entries.begin() + static_cast<ptrdiff_t>(run.begin);
        const auto last = entries.begin() + static_cast<ptrdiff_t>(run.end);
        const bool sameStart =
            std::all_of(first, last, [&](const SortEntry& entry) { return entry.prefix == first->prefix; });
        if (!sameStart) {
            std::sort(first, last, [](const SortEntry& a, const SortEntry& b) {
                return a.prefix != b.prefix ? a.prefix < b.prefix : a.start < b.start;
            });
        }
        for (auto begin = first; begin != last;) {
            auto end = begin + 1;
            while (end != last && end->prefix == begin->prefix) ++end;
            if (end - begin > 1 && !EndsKey(begin->prefix)) {
                const size_t depth = run.depth + 8;
                for (auto it = begin; it != end; ++it) it->prefix = KeyPrefix(keys.data() + it->key + depth);
                work.push_back(
                    {static_cast<size_t>(begin - entries.begin()), static_cast<size_t>(end - entries.begin()), depth});
            }
            begin = end;
        }
    }
}

// The first occurrences of lines, found by hash: an open-addressing table, at most half full, whose
// slots hold the index of a kept line and, above it, the top bits of the line's hash, so that most
// slots of other lines are passed over without reading those lines.
class FirstOccurrences {
public:
    explicit FirstOccurrences(size_t lines) : slots_(std::bit_ceil(std::max<size_t>(lines * 2, 16)), kEmpty) {}

    // The index in `kept` of the line equal to `line`, adding it at the end of `kept` when it is new.
    size_t Find(std::u16string_view line, std::vector<std::u16string_view>& kept) {
        const size_t hash = std::hash<std::u16string_view>{}(line);
        const uint64_t tag = static_cast<uint64_t>(hash) & ~kIndexMask;
        const size_t mask = slots_.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const uint64_t entry = slots_[slot];
            if (entry == kEmpty) {
                slots_[slot] = tag | kept.size();
                kept.push_back(line);
                return kept.size() - 1;
            }
            const size_t index = entry & kIndexMask;
            if ((entry & ~kIndexMask) == tag && kept[index] == line) return index;
        }
    }

private:
    static constexpr uint64_t kIndexMask = (uint64_t{1} << 40) - 1;  // room for far more lines than memory
    static constexpr uint64_t kEmpty = ~uint64_t{0};
    std::vector<uint64_t> slots_;
};

// Copies `piece` to `out` and returns the end of the copy.
char16_t* Put(char16_t* out, std::u16string_view piece) { return std::copy(piece.begin(), piece.end(), out); }

}  // namespace

std::u16string SortLines(std::u16string_view text, const std::string& locale) {
    const std::vector<std::u16string_view> lines = SplitLineViews(text);
    if (lines.size() < 2) return JoinLines(lines);

    const LineCollator collator(locale);
    std::string keys;
    keys.reserve(text.size() * 2 + lines.size() * 8);
    std::vector<SortEntry> entries(lines.size());
    size_t size = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        entries[i] = {0, keys.size(), static_cast<size_t>(lines[i].data() - text.data()), lines[i].size()};
        collator.AppendSortKey(lines[i], keys);
        size += lines[i].size() + 2;
    }
    for (auto& entry : entries) entry.prefix = KeyPrefix(keys.data() + entry.key);
    SortByKeys(entries, keys);

    // The lines are gathered from all over the text: fetch a few ahead.
    constexpr size_t kAhead = 8;
    std::u16string result(size, u'\0');
    char16_t* out = result.data();
    for (size_t i = 0; i < entries.size(); ++i) {
#if defined(__GNUC__)
        if (i + kAhead < entries.size()) __builtin_prefetch(text.data() + entries[i + kAhead].start);
#endif
        out = Put(out, text.substr(entries[i].start, entries[i].length));
        *out++ = u'\r';
        *out++ = u'\n';
    }
    return result;
}

std::u16string RemoveDuplicateLines(std::u16string_view text, ProgressReporter& progress) {
    const std::vector<std::u16string_view> lines = SplitLineViews(text);
    if (lines.size() < 2) return JoinLines(lines);

    // The lines that stay are the first occurrences, in their order; repeats[k] counts the later lines
    // equal to kept line k.
    std::vector<std::u16string_view> kept;
    kept.reserve(lines.size());
    std::vector<size_t> repeats(lines.size(), 0);
    FirstOccurrences index(lines.size());
    for (auto line : lines) {
        const size_t before = kept.size();
        const size_t k = index.Find(line, kept);
        if (kept.size() == before) ++repeats[k];
    }

    // The walk over the list: at kept line i the repeats of lines 0..i have been removed, so the list
    // then holds every line but those. Its percentage never falls, and a report that would show the
    // figure already shown is left out (with a million lines the panel would otherwise be set a
    // million times).
    size_t count = lines.size();
    int shown = -1;
    for (size_t i = 0; i < kept.size(); ++i) {
        progress.PumpEvents();
        count -= repeats[i];
        progress.PumpEvents();
        const int percent = PercentOfLines(static_cast<int64_t>(i), static_cast<int64_t>(count));
        if (percent != shown) {
            progress.ReportPercent(percent);
            shown = percent;
        }
        progress.PumpEvents();
    }
    std::u16string result = JoinLines(kept);
    progress.ClearPercent();
    return result;
}

std::u16string AddLinePrefixSuffix(std::u16string_view text, std::u16string_view prefix, std::u16string_view suffix,
                                   ProgressReporter& progress, int lineLimit) {
    const std::vector<std::u16string_view> lines = SplitLineViews(text);
    size_t size = lines.size() * (prefix.size() + suffix.size() + 2);
    for (auto line : lines) size += line.size();
    std::u16string result(size, u'\0');

    StepCounter counter(lineLimit);
    const auto count = static_cast<int64_t>(lines.size());
    char16_t* out = result.data();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (counter.Step()) progress.ReportPercent(PercentOfLines(static_cast<int64_t>(i), count));
        progress.PumpEvents();
        out = Put(Put(Put(out, prefix), lines[i]), suffix);
        *out++ = u'\r';
        *out++ = u'\n';
    }
    progress.ClearPercent();
    return result;
}

}  // namespace vernalith
