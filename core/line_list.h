#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vernalith {

// Splits a text into lines: a line ends at CR LF, at a lone CR or at a lone LF; a final line break
// gives no empty last line; an empty text has no lines. U+0000 is an ordinary character.
// The views point into `text`.
std::vector<std::u16string_view> SplitLineViews(std::u16string_view text);

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
