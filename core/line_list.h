#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vernalith {

// Splits a text into lines: a line ends at CR LF, at a lone CR or at a lone LF; a final line break
// gives no empty last line; an empty text has no lines. U+0000 is an ordinary character.
// The views point into `text`.
std::vector<std::u16string_view> SplitLineViews(std::u16string_view text);

// Calls `visit(line)` for each line of that split, in order, without building a list: for procedures
// that must not hold a view per line (a text of many tiny lines would take several times its size).
template <typename Visit>
void ForEachLine(std::u16string_view text, Visit&& visit) {
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c > u'\r' || (c != u'\r' && c != u'\n')) continue;
        visit(text.substr(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) visit(text.substr(start));
}

// The same split, with owned copies of the lines.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// Joins lines, putting CR LF after every line, the last one included.
template <typename Line>
std::u16string JoinLines(const std::vector<Line>& lines) {
    size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::u16string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out.append(line);
        out.append(u"\r\n");
    }
    return out;
}

}  // namespace vernalith
