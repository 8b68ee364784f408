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

// A distinct line's place in the sort: 8 bytes of its sort key from the current depth on as one
// big-endian number (zero after the key's NUL), where the whole key starts, and the line's index
// among the distinct lines (their order of first occurrence, also the order for equal keys).
struct SortEntry {
    uint64_t prefix;
    size_t key;
    size_t line;
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
                return a.prefix != b.prefix ? a.prefix < b.prefix : a.line < b.line;
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
// slots of other lines are passed over without reading those lines. It grows with the kept lines, so
// a text of many repeated lines needs room only for the lines that differ.
class FirstOccurrences {
public:
    FirstOccurrences() : slots_(16, kEmpty) {}

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
                if (kept.size() * 2 > slots_.size()) Grow(kept);
                return kept.size() - 1;
            }
            const size_t index = entry & kIndexMask;
            if ((entry & ~kIndexMask) == tag && kept[index] == line) return index;
        }
    }

private:
    void Grow(const std::vector<std::u16string_view>& kept) {
        slots_.assign(slots_.size() * 2, kEmpty);
        const size_t mask = slots_.size() - 1;
        for (size_t index = 0; index < kept.size(); ++index) {
            const size_t hash = std::hash<std::u16string_view>{}(kept[index]);
            size_t slot = hash & mask;
            while (slots_[slot] != kEmpty) slot = (slot + 1) & mask;
            slots_[slot] = (static_cast<uint64_t>(hash) & ~kIndexMask) | index;
        }
    }

    static constexpr uint64_t kIndexMask = (uint64_t{1} << 40) - 1;  // room for far more lines than memory
    static constexpr uint64_t kEmpty = ~uint64_t{0};
    std::vector<uint64_t> slots_;
};

// Copies `piece` to `out` and returns the end of the copy.
char16_t* Put(char16_t* out, std::u16string_view piece) { return std::copy(piece.begin(), piece.end(), out); }

}  // namespace

std::u16string SortLines(std::u16string_view text, const std::string& locale) {
    // The lines are held as the distinct lines of the text, each with how often it occurs: equal lines
    // have equal keys, so only the distinct ones need a key and a place in the sort, and a text of
    // many repeated lines (a million empty ones) takes little more than itself.
    std::vector<std::u16string_view> distinct;
    std::vector<size_t> occurrences;
    FirstOccurrences index;
    size_t lineCount = 0;
    size_t size = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        ++lineCount;
        size += line.size() + 2;
        const size_t d = index.Find(line, distinct);
        if (d == occurrences.size()) occurrences.push_back(0);
        ++occurrences[d];
    });
    if (lineCount < 2) return JoinLines(distinct);

    const LineCollator collator(locale);
    std::string keys;
    std::vector<SortEntry> entries(distinct.size());
    for (size_t d = 0; d < distinct.size(); ++d) {
        entries[d] = {0, keys.size(), d};
        collator.AppendSortKey(distinct[d], keys);
    }
    for (auto& entry : entries) entry.prefix = KeyPrefix(keys.data() + entry.key);
    SortByKeys(entries, keys);

    // Lines with equal keys (equal lines, and lines that differ only in letter case) form a group, and
    // the groups stand in key order. A group's lines keep their order in the text, so the second walk
    // over the text puts each line at the next free place of its group.
    std::vector<size_t> groupOf(distinct.size());
    std::vector<size_t> groupStart;
    size_t offset = 0;
    for (size_t k = 0; k < entries.size(); ++k) {
        if (k == 0 || std::strcmp(keys.data() + entries[k - 1].key, keys.data() + entries[k].key) != 0) {
            groupStart.push_back(offset);
        }
        const size_t d = entries[k].line;
        groupOf[d] = groupStart.size() - 1;
        offset += (distinct[d].size() + 2) * occurrences[d];
    }
    std::vector<SortEntry>().swap(entries);
    std::string().swap(keys);

    std::u16string result(size, u'\0');
    char16_t* out = result.data();
    ForEachLine(text, [&](std::u16string_view line) {
        size_t& place = groupStart[groupOf[index.Find(line, distinct)]];
        char16_t* end = Put(out + place, line);
        end[0] = u'\r';
        end[1] = u'\n';
        place += line.size() + 2;
    });
    return result;
}

std::u16string RemoveDuplicateLines(std::u16string_view text, ProgressReporter& progress) {
    // The lines that stay are the first occurrences, in their order; repeats[k] counts the later lines
    // equal to kept line k. Only the kept lines are held, so many repeated lines take little room.
    std::vector<std::u16string_view> kept;
    std::vector<size_t> repeats;
    FirstOccurrences index;
    size_t lineCount = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        ++lineCount;
        const size_t k = index.Find(line, kept);
        if (k == repeats.size()) {
            repeats.push_back(0);
        } else {
            ++repeats[k];
        }
    });
    if (lineCount < 2) return JoinLines(kept);

    // The walk over the list: at kept line i the repeats of lines 0..i have been removed, so the list
    // then holds every line but those. Its percentage never falls, and a report that would show the
    // figure already shown is left out (with a million lines the panel would otherwise be set a
    // million times).
    size_t count = lineCount;
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
    // Two walks over the text: the size and the line count first, then the lines (no list of lines).
    size_t lineCount = 0;
    size_t size = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        ++lineCount;
        size += line.size();
    });
    size += lineCount * (prefix.size() + suffix.size() + 2);
    std::u16string result(size, u'\0');

    StepCounter counter(lineLimit);
    const auto count = static_cast<int64_t>(lineCount);
    char16_t* out = result.data();
    int64_t i = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        if (counter.Step()) progress.ReportPercent(PercentOfLines(i, count));
        progress.PumpEvents();
        out = Put(Put(Put(out, prefix), line), suffix);
        *out++ = u'\r';
        *out++ = u'\n';
        ++i;
    });
    progress.ClearPercent();
    return result;
}

}  // namespace vernalith
