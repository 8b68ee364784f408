#include "markup/tag_count.h"

#include <vector>

#include "core/chars.h"
#include "core/percent.h"
#include "markup/decimal_text.h"
#include "text/case_table.h"

namespace vernalith {
namespace {

// Knuth-Morris-Pratt failure function: for each prefix of the pattern, the length of its longest
// proper prefix that is also its suffix. Lets the scan find every overlapping match in one pass.
std::vector<size_t> FailureFunction(std::u16string_view pattern) {
    std::vector<size_t> failure(pattern.size(), 0);
    size_t k = 0;
    for (size_t i = 1; i < pattern.size(); ++i) {
        while (k > 0 && pattern[i] != pattern[k]) k = failure[k - 1];
        if (pattern[i] == pattern[k]) ++k;
        failure[i] = k;
    }
    return failure;
}

}  // namespace

TagCounts CountTags(std::u16string_view text, std::u16string_view customTag, ProgressReporter& progress,
                    int stepLimit) {
    TagCounts counts;
    counts.customTag = ToLowerText(customTag);
    const std::u16string_view pattern = counts.customTag;

    // The scanned text: one space at each end, lower-cased.
    std::u16string s;
    s.resize(text.size() + 2);
    s.front() = kSpace;
    s.back() = kSpace;
    for (size_t i = 0; i < text.size(); ++i) s[i + 1] = ToLowerChar(text[i]);
    const size_t length = s.size();

    const std::vector<size_t> failure = FailureFunction(pattern);
    StepCounter counter(stepLimit);
    size_t matched = 0;  // length of the pattern prefix that ends at the current position
    for (size_t i = 0; i < length; ++i) {
        if (counter.Step()) {
            progress.ReportPercentSpaced(
                static_cast<int>(RoundedRatio(100 * static_cast<int64_t>(i), static_cast<int64_t>(length))));
            progress.PumpEvents();
        }
        const char16_t c = s[i];
        if (c == u'<' && i + 3 < length && s[i + 1] == u'h' && s[i + 3] == u'>') {
            switch (s[i + 2]) {
                case u'1':
                    ++counts.h1;
                    break;
                case u'2':
                    ++counts.h2;
                    break;
                case u'3':
                    ++counts.h3;
                    break;
                default:
                    break;
            }
        }
        // A match is counted where it ends; each one is counted once, as by its start.
        if (pattern.empty()) {
            ++counts.custom;
            continue;
        }
        while (matched > 0 && c != pattern[matched]) matched = failure[matched - 1];
        if (c == pattern[matched]) ++matched;
        if (matched == pattern.size()) {
            ++counts.custom;
            matched = failure[matched - 1];
        }
    }
    return counts;
}

std::u16string TagCountMessage(const TagCounts& counts) {
    std::u16string message;
    auto line = [&](std::u16string_view tag, int64_t count) {
        message.append(tag).append(u" - ").append(DecimalText(count));
        message.push_back(kLF);
        message.push_back(kCR);
    };
    line(u"<h1>", counts.h1);
    line(u"<h2>", counts.h2);
    line(u"<h3>", counts.h3);
    line(counts.customTag, counts.custom);
    return message;
}

}  // namespace vernalith
