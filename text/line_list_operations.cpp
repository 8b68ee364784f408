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
template <typename Offset>
struct SortEntry {
    uint64_t prefix;
    Offset key;
    Offset line;
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

// Lets events through (where a stop can end the run) each time about 65536 steps of work have passed,
// for a procedure that shows no percentage: so a long sort still stops soon after the user asks.
class StopPoints {
public:
    explicit StopPoints(ProgressReporter& progress) : progress_(progress) {}

    void Passed(size_t steps) {
        done_ += steps;
        if (done_ < kEvery) return;
        done_ = 0;
        progress_.PumpEvents();
    }

private:
    static constexpr size_t kEvery = size_t{1} << 16;
    ProgressReporter& progress_;
    size_t done_ = 0;
};

// Orders the entries by their keys, equal keys in line order. Most comparisons are made on the 8-byte
// prefixes in the entries themselves; a run of entries with the same prefix is then ordered by the
// next 8 bytes of their keys, and so on, so a long prefix shared by many lines (a list of addresses)
// costs one pass per 8 bytes instead of slow comparisons of whole keys. A run is always in line order
// when it is taken up, so equal keys keep that order.
template <typename Offset>
void SortByKeys(std::vector<SortEntry<Offset>>& entries, const std::string& keys, StopPoints& stopPoints) {
    struct Run {
        size_t begin, end, depth;
    };
    std::vector<Run> work{{0, entries.size(), 0}};
    while (!work.empty()) {
        const Run run = work.back();
        work.pop_back();
        stopPoints.Passed(run.end - run.begin);
        const auto first = entries.begin() + static_cast<ptrdiff_t>(run.begin);
        const auto last = entries.begin() + static_cast<ptrdiff_t>(run.end);
        const bool sameStart =
            std::all_of(first, last, [&](const SortEntry<Offset>& entry) { return entry.prefix == first->prefix; });
        if (!sameStart) {
            std::sort(first, last, [](const SortEntry<Offset>& a, const SortEntry<Offset>& b) {
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

// The first occurrences of lines, found by hash. A distinct line is held only as where it starts in
// the text (its end is the next line break), and the open-addressing table, at most half full, holds
// the index of a distinct line per slot and a byte of its hash beside it; `Offset` is 32 bits wide for
// any text under 512 MB. So a text of millions of tiny distinct lines needs a few bytes per line, and
// one of many repeated lines room only for the lines that differ.
template <typename Offset>
class FirstOccurrences {
public:
    explicit FirstOccurrences(std::u16string_view text) : text_(text), slots_(16, kEmpty), tags_(16, 0) {}

    // The index of the distinct line equal to `line` (a view into the text), adding it when it is new.
    size_t Find(std::u16string_view line) {
        const size_t hash = std::hash<std::u16string_view>{}(line);
        const uint8_t tag = Tag(hash);
        const size_t mask = slots_.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const Offset entry = slots_[slot];
            if (entry == kEmpty) {
                slots_[slot] = static_cast<Offset>(starts_.size());
                tags_[slot] = tag;
                starts_.push_back(static_cast<Offset>(line.data() - text_.data()));
                if (starts_.size() * 2 > slots_.size()) Grow();
                return starts_.size() - 1;
            }
            if (tags_[slot] == tag && SameLine(starts_[entry], line)) return entry;
        }
    }

    // Makes room for up to `lines` distinct lines at once: memory that is reserved but never written
    // takes no room, so this costs only what the distinct lines use, without the copies of growing.
    void Reserve(size_t lines) { starts_.reserve(lines); }
    size_t size() const { return starts_.size(); }
    std::u16string_view Line(size_t index) const {
        const size_t start = starts_[index];
        size_t end = start;
        while (end < text_.size() && text_[end] != u'\r' && text_[end] != u'\n') ++end;
        return text_.substr(start, end - start);
    }

    // Whether the line starting at `start` is `line`: the same units, then a break or the text's end.
    bool SameLine(size_t start, std::u16string_view line) const {
        if (text_.size() - start < line.size()) return false;
        if (std::u16string_view(text_.data() + start, line.size()) != line) return false;
        const size_t end = start + line.size();
        return end == text_.size() || text_[end] == u'\r' || text_[end] == u'\n';
    }

    // Gives the table's memory back while the distinct lines are used by index only (the sort), and
    // builds it again for finding lines after that.
    void DropTable() {
        std::vector<Offset>().swap(slots_);
        std::vector<uint8_t>().swap(tags_);
    }
    void RebuildTable() {
        size_t slots = 16;
        while (slots < starts_.size() * 2) slots *= 2;
        Rehash(slots);
    }

private:
    void Grow() { Rehash(slots_.size() * 2); }

    void Rehash(size_t slots) {
        slots_.assign(slots, kEmpty);
        tags_.assign(slots, 0);
        const size_t mask = slots_.size() - 1;
        for (size_t index = 0; index < starts_.size(); ++index) {
            const size_t hash = std::hash<std::u16string_view>{}(Line(index));
            size_t slot = hash & mask;
            while (slots_[slot] != kEmpty) slot = (slot + 1) & mask;
            slots_[slot] = static_cast<Offset>(index);
            tags_[slot] = Tag(hash);
        }
    }

    // The top byte of a line's hash, kept beside its slot: most slots of other lines are passed over
    // on it without reading those lines in the text.
    static uint8_t Tag(size_t hash) { return static_cast<uint8_t>(hash >> (8 * sizeof(size_t) - 8)); }

    static constexpr Offset kEmpty = static_cast<Offset>(-1);
    std::u16string_view text_;
    std::vector<Offset> starts_;
    std::vector<Offset> slots_;
    std::vector<uint8_t> tags_;
};

// Copies `piece` to `out` and returns the end of the copy.
char16_t* Put(char16_t* out, std::u16string_view piece) { return std::copy(piece.begin(), piece.end(), out); }

// The lines of the index joined, each followed by CR LF.
template <typename Offset>
std::u16string JoinDistinct(const FirstOccurrences<Offset>& index) {
    size_t size = 0;
    for (size_t d = 0; d < index.size(); ++d) size += index.Line(d).size() + 2;
    std::u16string out;
    out.reserve(size);
    for (size_t d = 0; d < index.size(); ++d) {
        out.append(index.Line(d));
        out.append(u"\r\n");
    }
    return out;
}

// Indices into a text of less than 2^28 units, into its result (less than twice as long) and into the
// sort keys of its lines (a few bytes per unit) fit 32 bits.
bool FitsNarrowOffsets(std::u16string_view text) { return text.size() < (size_t{1} << 28); }

// Reserves room for as many distinct lines as the text has lines (see FirstOccurrences::Reserve).
template <typename Offset>
void ReserveForLines(std::u16string_view text, FirstOccurrences<Offset>& index, std::vector<Offset>& perLine) {
    size_t lines = 0;
    ForEachLine(text, [&](std::u16string_view) { ++lines; });
    index.Reserve(lines);
    perLine.reserve(lines);
}

template <typename Offset>
std::u16string SortLinesWith(std::u16string_view text, const std::string& locale, ProgressReporter& progress) {
    StopPoints stopPoints(progress);
    // The lines are held as the distinct lines of the text, each with how often it occurs: equal lines
    // have equal keys, so only the distinct ones need a key and a place in the sort, and a text of
    // many repeated lines (a million empty ones) takes little more than itself.
    std::vector<Offset> occurrences;
    FirstOccurrences<Offset> index(text);
    ReserveForLines(text, index, occurrences);
    size_t lineCount = 0;
    size_t size = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        stopPoints.Passed(1);
        ++lineCount;
        size += line.size() + 2;
        const size_t d = index.Find(line);
        if (d == occurrences.size()) occurrences.push_back(0);
        ++occurrences[d];
    });
    if (lineCount < 2) return JoinDistinct(index);

    index.DropTable();
    const LineCollator collator(locale);
    std::string keys;
    // Room for keys of a few bytes per unit, most of it never written (and so taking no memory).
    size_t distinctUnits = 0;
    for (size_t d = 0; d < index.size(); ++d) distinctUnits += index.Line(d).size();
    keys.reserve(4 * distinctUnits + 16 * index.size());
    std::vector<SortEntry<Offset>> entries(index.size());
    for (size_t d = 0; d < index.size(); ++d) {
        // A sort key takes the collator much longer than a line takes the other steps.
        stopPoints.Passed(16);
        entries[d] = {0, static_cast<Offset>(keys.size()), static_cast<Offset>(d)};
        collator.AppendSortKey(index.Line(d), keys);
    }
    for (auto& entry : entries) entry.prefix = KeyPrefix(keys.data() + entry.key);
    SortByKeys(entries, keys, stopPoints);

    // Lines with equal keys (equal lines, and lines that differ only in letter case) form a group, and
    // the groups stand in key order. A group's lines keep their order in the text, so the second walk
    // over the text puts each line at the next free place of its group.
    std::vector<Offset> groupOf(index.size());
    std::vector<size_t> groupStart;
    groupStart.reserve(index.size());
    size_t offset = 0;
    for (size_t k = 0; k < entries.size(); ++k) {
        stopPoints.Passed(1);
        if (k == 0 || std::strcmp(keys.data() + entries[k - 1].key, keys.data() + entries[k].key) != 0) {
            groupStart.push_back(offset);
        }
        const size_t d = entries[k].line;
        groupOf[d] = static_cast<Offset>(groupStart.size() - 1);
        offset += (index.Line(d).size() + 2) * occurrences[d];
    }
    std::vector<SortEntry<Offset>>().swap(entries);
    std::string().swap(keys);
    std::vector<Offset>().swap(occurrences);
    index.RebuildTable();

    std::u16string result(size, u'\0');
    char16_t* out = result.data();
    ForEachLine(text, [&](std::u16string_view line) {
        stopPoints.Passed(1);
        size_t& place = groupStart[groupOf[index.Find(line)]];
        char16_t* end = Put(out + place, line);
        end[0] = u'\r';
        end[1] = u'\n';
        place += line.size() + 2;
    });
    return result;
}

template <typename Offset>
std::u16string RemoveDuplicateLinesWith(std::u16string_view text, ProgressReporter& progress) {
    // The lines that stay are the first occurrences, in their order; repeats[k] counts the later lines
    // equal to kept line k. Only the kept lines are held, so many repeated lines take little room.
    std::vector<Offset> repeats;
    FirstOccurrences<Offset> index(text);
    ReserveForLines(text, index, repeats);
    size_t lineCount = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        ++lineCount;
        const size_t k = index.Find(line);
        if (k == repeats.size()) {
            repeats.push_back(0);
        } else {
            ++repeats[k];
        }
    });
    if (lineCount < 2) return JoinDistinct(index);
    index.DropTable();

    // The walk over the list: at kept line i the repeats of lines 0..i have been removed, so the list
    // then holds every line but those. Its percentage never falls, and a report that would show the
    // figure already shown is left out (with a million lines the panel would otherwise be set a
    // million times).
    size_t count = lineCount;
    int shown = -1;
    for (size_t i = 0; i < index.size(); ++i) {
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
    std::vector<Offset>().swap(repeats);
    std::u16string result = JoinDistinct(index);
    progress.ClearPercent();
    return result;
}

}  // namespace

std::u16string SortLines(std::u16string_view text, const std::string& locale, ProgressReporter& progress) {
    return FitsNarrowOffsets(text) ? SortLinesWith<uint32_t>(text, locale, progress)
                                   : SortLinesWith<size_t>(text, locale, progress);
}

std::u16string RemoveDuplicateLines(std::u16string_view text, ProgressReporter& progress) {
    return FitsNarrowOffsets(text) ? RemoveDuplicateLinesWith<uint32_t>(text, progress)
                                   : RemoveDuplicateLinesWith<size_t>(text, progress);
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
