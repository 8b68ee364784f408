#include "markup/paragraphs.h"

#include "core/line_list.h"
#include "core/percent.h"

namespace vernalith {
namespace {

// "<p" or "<P" anywhere in the line.
bool HasParagraphMarker(std::u16string_view line) {
    for (size_t at = line.find(u'<'); at != std::u16string_view::npos; at = line.find(u'<', at + 1)) {
        if (at + 1 < line.size() && (line[at + 1] == u'p' || line[at + 1] == u'P')) return true;
    }
    return false;
}

}  // namespace

std::u16string InsertParagraphTags(std::u16string_view text, ProgressReporter& progress) {
    // Lines are visited in place, never listed: a text of many empty lines would need a view per line.
    // A first pass counts the lines and the size of the result, so the result is allocated once.
    int64_t count = 0;
    size_t resultSize = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        ++count;
        resultSize += line.size() + 2 + (line.empty() || HasParagraphMarker(line) ? 0 : 7);
    });
    std::u16string result;
    result.reserve(resultSize);
    int64_t i = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        progress.ReportPercentSpaced(PercentOfLines(i++, count));
        progress.PumpEvents();
        if (line.empty() || HasParagraphMarker(line)) {
            result.append(line);
        } else {
            result.append(u"<p>");
            result.append(line);
            result.append(u"</p>");
        }
        result.append(u"\r\n");
    });
    progress.ClearPercent();
    return result;
}

ParagraphEdit TagParagraphsForCommand(std::u16string_view selectedText, std::u16string_view editorText,
                                      ProgressReporter& progress) {
    if (!selectedText.empty()) return {ParagraphScope::Selection, InsertParagraphTags(selectedText, progress)};
    return {ParagraphScope::WholeText, InsertParagraphTags(editorText, progress)};
}

}  // namespace vernalith
