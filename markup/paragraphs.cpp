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
    const std::vector<std::u16string_view> lines = SplitLineViews(text);
    const int64_t count = static_cast<int64_t>(lines.size());
    std::u16string result;
    result.reserve(text.size() + lines.size() * 9);
    for (int64_t i = 0; i < count; ++i) {
        progress.ReportPercentSpaced(PercentOfLines(i, count));
        progress.PumpEvents();
        const std::u16string_view line = lines[static_cast<size_t>(i)];
        if (line.empty() || HasParagraphMarker(line)) {
            result.append(line);
        } else {
            result.append(u"<p>");
            result.append(line);
            result.append(u"</p>");
        }
        result.append(u"\r\n");
    }
    progress.ClearPercent();
    return result;
}

ParagraphEdit TagParagraphsForCommand(std::u16string_view selectedText, std::u16string_view editorText,
                                      ProgressReporter& progress) {
    if (!selectedText.empty()) return {ParagraphScope::Selection, InsertParagraphTags(selectedText, progress)};
    return {ParagraphScope::WholeText, InsertParagraphTags(editorText, progress)};
}

}  // namespace vernalith
