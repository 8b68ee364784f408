#pragma once

#include <cstddef>
#include <string>

namespace vernalith::bench {

// A mixed Russian/English text of about `bytes` bytes in UTF-16 (bytes / 2 code units) with the
// features the procedures act on: runs of spaces, spaces before punctuation, blank lines, CR LF
// breaks, hyphenated line ends, repeated punctuation, tags, footnotes. The same size always gives
// the same text.
std::u16string SampleText(size_t bytes);

// `lines` short lines (words, some repeated), joined by CR LF.
std::u16string SampleLines(size_t lines);

inline constexpr size_t kMB = 1 << 20;

}  // namespace vernalith::bench
