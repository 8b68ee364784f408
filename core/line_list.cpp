#include "core/line_list.h"

namespace vernalith {

std::vector<std::u16string_view> SplitLineViews(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    for (auto view : SplitLineViews(text)) lines.emplace_back(view);
    return lines;
}

}  // namespace vernalith
