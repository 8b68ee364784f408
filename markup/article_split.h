#pragma once

#include <string>
#include <string_view>

#include "core/progress.h"
#include "core/random.h"

namespace vernalith {

inline constexpr std::u16string_view kArticleSplitCaption = u"разбивка на статьи";

struct ArticleSplitSettings {
    int minChars = 1400;  // ArticleMinChars
    int maxChars = 1700;  // ArticleMaxChars
    std::u16string headingOpenTag = u"<h1>";
    std::u16string headingCloseTag = u"</h1>";
    int headingLength = 37;  // HeadingLength
};

// Refuses settings that cannot split any text soundly: ArticleMinChars below 1, ArticleMaxChars
// below ArticleMinChars, HeadingLength below 0. Throws ProcedureError naming the fields.
void CheckArticleSplitSettings(const ArticleSplitSettings& settings);

// The heading text of an article that starts at `start` (0-based): the first headingLength + 1
// characters of its line, then on while they are letters, then without trailing non-letters while
// longer than 3 characters. A view into `text`.
std::u16string_view ArticleHeadingText(std::u16string_view text, size_t start, int headingLength);

// Cuts the text into articles of at least minChars + R characters (R random below maxChars - minChars,
// drawn once per article), each starting at a line start or a letter right after "." "!" "?", and puts
// a heading line (open tag + heading text + close tag + LF, after an LF but for the first) in front
// of each. What precedes the first letter is dropped. The next search never starts at or before the
// article start that was just given a heading, so the split always ends. Reports "разбивка на статьи"
// and the percentage once per article.
std::u16string SplitIntoArticles(const std::u16string& text, const ArticleSplitSettings& settings, RandomSource& random,
                                 ProgressReporter& progress);

}  // namespace vernalith
