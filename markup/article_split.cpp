#include "markup/article_split.h"

#include <algorithm>

#include "core/chars.h"
#include "core/percent.h"
#include "core/procedure_error.h"

namespace vernalith {
namespace {

bool FollowsArticleBreak(char16_t previous) {
    return previous == kCR || previous == kLF || previous == u'.' || previous == u'!' || previous == u'?';
}

// The length of the next article beyond its heading line's leading LF: minChars + R.
int64_t NextArticleLength(const ArticleSplitSettings& settings, RandomSource& random) {
    const auto range = static_cast<uint32_t>(static_cast<int64_t>(settings.maxChars) - settings.minChars);
    return static_cast<int64_t>(settings.minChars) + random.NextBelow(range);
}

}  // namespace

void CheckArticleSplitSettings(const ArticleSplitSettings& settings) {
    if (settings.minChars < 1) {
        throw ProcedureError(
            u"Авторазбивка статей: число «символов на статью» «от» (ArticleMinChars) "
            u"должно быть не меньше 1.");
    }
    if (settings.maxChars < settings.minChars) {
        throw ProcedureError(
            u"Авторазбивка статей: число «символов на статью» «до» (ArticleMaxChars) "
            u"не может быть меньше числа «от» (ArticleMinChars).");
    }
    if (settings.headingLength < 0) {
        throw ProcedureError(
            u"Авторазбивка статей: «длинна заголовка в символах» (HeadingLength) "
            u"не может быть меньше 0.");
    }
}

std::u16string_view ArticleHeadingText(std::u16string_view text, size_t start, int headingLength) {
    const size_t n = text.size();
    const size_t forced = static_cast<size_t>(std::max(headingLength, 0)) + 1;
    size_t end = start;
    while (end < n && end - start < forced && text[end] != kCR && text[end] != kLF) ++end;
    if (end - start == forced) {
        while (end < n && InLetterRange(text[end])) ++end;
    }
    while (end - start > 3 && !InLetterRange(text[end - 1])) --end;
    return text.substr(start, end - start);
}

// The split works on a text t that grows as heading lines go in, with 1-based positions. Here t is
// always the finished output followed by the input from index `rest`: every heading goes in at the
// point the output has reached, and the next search position lies beyond it, in the unread input.
std::u16string SplitIntoArticles(const std::u16string& text, const ArticleSplitSettings& settings, RandomSource& random,
                                 ProgressReporter& progress) {
    progress.SetStatusCaption(kArticleSplitCaption);
    CheckArticleSplitSettings(settings);
    const std::u16string_view in = text;
    const size_t n = in.size();
    if (n == 0) {
        progress.FinishReport();
        return {};
    }
    progress.ReportPercent(PercentOfText(0, static_cast<int64_t>(n)));
    progress.PumpEvents();
    const size_t first = static_cast<size_t>(std::find_if(in.begin(), in.end(), InLetterRange) - in.begin());
    if (first == n) {
        progress.FinishReport();
        return text;
    }

    std::u16string out;
    out.reserve(n + n / 8);
    auto appendHeadingLine = [&](size_t start) {
        out.append(settings.headingOpenTag);
        out.append(ArticleHeadingText(in, start, settings.headingLength));
        out.append(settings.headingCloseTag);
        out.push_back(kLF);
    };
    // The first article drops whatever stands before its first letter; its search position counts
    // from where that letter stood before the heading went in.
    appendHeadingLine(first);
    size_t rest = first;
    int64_t articleStart = static_cast<int64_t>(out.size()) + 1;
    int64_t search = static_cast<int64_t>(first) + 1 + NextArticleLength(settings, random);

    while (true) {
        // With a heading line longer than the article the search would find the same article start
        // again; it always moves past it instead.
        search = std::max(search, articleStart + 1);
        const int64_t length = static_cast<int64_t>(out.size() + (n - rest));
        if (search >= length) break;
        progress.ReportPercent(PercentOfText(search, length));
        progress.PumpEvents();
        // Position `search` of t is input index rest + (search - articleStart); the character before
        // it is in the input too, because search > articleStart.
        size_t at = rest + static_cast<size_t>(search - articleStart);
        while (at < n && !(InLetterRange(in[at]) && FollowsArticleBreak(in[at - 1]))) ++at;
        if (at == n) break;
        out.append(in.substr(rest, at - rest));
        const int64_t lineFeed = static_cast<int64_t>(out.size()) + 1;
        out.push_back(kLF);
        appendHeadingLine(at);
        rest = at;
        articleStart = static_cast<int64_t>(out.size()) + 1;
        search = lineFeed + NextArticleLength(settings, random);
    }
    out.append(in.substr(rest));
    progress.FinishReport();
    return out;
}

}  // namespace vernalith
