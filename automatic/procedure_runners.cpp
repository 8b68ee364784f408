#include "automatic/procedure_runners.h"

#include <stdexcept>

#include "core/procedure_error.h"
#include "markup/article_split.h"
#include "markup/paragraphs.h"
#include "markup/tag_count.h"
#include "markup/tag_stripping.h"
#include "markup/text_info.h"
#include "text/characters.h"
#include "text/footnotes.h"
#include "text/letter_case.h"
#include "text/line_breaks.h"
#include "text/line_collation.h"
#include "text/line_list_operations.h"
#include "text/punctuation.h"
#include "text/whitespace.h"

namespace vernalith {
namespace {

// Adapters: each reads its settings (none for the whitespace procedures) and calls the procedure.
std::u16string RunRemoveExtraSpaces(const std::u16string& text, ProcedureContext& context) {
    return RemoveExtraSpaces(text, context.progress);
}

std::u16string RunRemoveEmptyLines(const std::u16string& text, ProcedureContext& context) {
    return RemoveEmptyLines(text, context.progress);
}

std::u16string RunStripHtmlTags(const std::u16string& text, ProcedureContext& context) {
    return StripHtmlTags(text, context.progress);
}

std::u16string RunInsertParagraphTags(const std::u16string& text, ProcedureContext& context) {
    return InsertParagraphTags(text, context.progress);
}

// The caption goes up before the settings are read, so a setting that is not a whole number fails
// with the caption showing, and before the text is touched. The settings are read in the order of
// their page: heading length, the tags, the article lengths.
std::u16string RunSplitIntoArticles(const std::u16string& text, ProcedureContext& context) {
    context.progress.SetStatusCaption(kArticleSplitCaption);
    ArticleSplitSettings settings;
    settings.headingLength = ParseIntegerSetting(context.settings.Value(Setting::HeadingLength));
    settings.headingOpenTag = context.settings.Value(Setting::HeadingOpenTag);
    settings.headingCloseTag = context.settings.Value(Setting::HeadingCloseTag);
    settings.minChars = ParseIntegerSetting(context.settings.Value(Setting::ArticleMinChars));
    settings.maxChars = ParseIntegerSetting(context.settings.Value(Setting::ArticleMaxChars));
    return SplitIntoArticles(text, settings, context.random, context.progress);
}

// Reports: the result is what the user is shown, not a new text.
std::u16string RunCountTags(const std::u16string& text, ProcedureContext& context) {
    const std::u16string customTag = context.settings.Value(Setting::CustomCountTag);
    const std::u16string message = TagCountMessage(CountTags(text, customTag, context.progress));
    context.progress.ClearPercent();
    return message;
}

// The two label texts, then the word list, each line ended by CR LF; the message alone for an
// empty text.
std::u16string RunTextInfo(const std::u16string& text, ProcedureContext& context) {
    const std::optional<TextInformation> info = CollectTextInformation(text, context.progress);
    std::u16string report;
    auto line = [&](std::u16string_view content) { report.append(content).append(u"\r\n"); };
    if (!info) {
        line(kEmptyTextMessage);
        return report;
    }
    // Sized first: a list of millions of words would otherwise be copied as the report grows.
    size_t size = info->totalLabel.size() + info->nonSpaceLabel.size() + 4;
    for (const WordCount& word : info->words) size += WordListLineLength(*info, word) + 2;  // and CR LF
    report.reserve(size);
    line(info->totalLabel);
    line(info->nonSpaceLabel);
    for (const WordCount& word : info->words) {
        AppendWordListLine(report, *info, word);
        report.append(u"\r\n");
    }
    return report;
}

std::u16string RunSortLines(const std::u16string& text, ProcedureContext& context) {
    return SortLines(text, UserCollationLocale(), context.progress);
}

std::u16string RunRemoveDuplicateLines(const std::u16string& text, ProcedureContext& context) {
    return RemoveDuplicateLines(text, context.progress);
}

std::u16string RunAddLinePrefixSuffix(const std::u16string& text, ProcedureContext& context) {
    const std::u16string prefix = context.settings.Value(Setting::LinePrefix);
    const std::u16string suffix = context.settings.Value(Setting::LineSuffix);
    return AddLinePrefixSuffix(text, prefix, suffix, context.progress);
}

std::u16string RunRemoveFootnotes(const std::u16string& text, ProcedureContext& context) {
    const std::u16string start = context.settings.Value(Setting::FootnoteStart);
    const std::u16string end = context.settings.Value(Setting::FootnoteEnd);
    return RemoveFootnotes(text, start, end, context.progress);
}

std::u16string RunRemoveHyphenation(const std::u16string& text, ProcedureContext& context) {
    return RemoveHyphenation(text, context.progress);
}

std::u16string RunRemoveExtraLineBreaks(const std::u16string& text, ProcedureContext& context) {
    return RemoveExtraLineBreaks(text, context.progress);
}

std::u16string RunLowerCaseAll(const std::u16string& text, ProcedureContext& context) {
    return LowerCaseAll(text, context.progress);
}

std::u16string RunCapitalizeSentences(const std::u16string& text, ProcedureContext& context) {
    return CapitalizeSentences(text, context.progress);
}

std::u16string RunRemoveListedCharacters(const std::u16string& text, ProcedureContext& context) {
    return RemoveListedCharacters(text, context.settings.Value(Setting::RemoveList), context.progress);
}

std::u16string RunReplaceListedCharacters(const std::u16string& text, ProcedureContext& context) {
    return ReplaceListedCharacters(text, context.settings.Value(Setting::ReplaceList),
                                   context.settings.Value(Setting::ReplaceSeparator), context.progress);
}

std::u16string RunRemoveRepeatedPunctuation(const std::u16string& text, ProcedureContext& context) {
    return RemoveRepeatedPunctuation(text, context.progress);
}

}  // namespace

ProcedureFunction RunnerOf(ProcedureId id) {
    // A switch over every id: the compiler warns when a procedure has no case here.
    switch (id) {
        case ProcedureId::RemoveExtraSpaces:
            return RunRemoveExtraSpaces;
        case ProcedureId::RemoveEmptyLines:
            return RunRemoveEmptyLines;
        case ProcedureId::StripHtmlTags:
            return RunStripHtmlTags;
        case ProcedureId::InsertParagraphTags:
            return RunInsertParagraphTags;
        case ProcedureId::SplitIntoArticles:
            return RunSplitIntoArticles;
        case ProcedureId::CountTags:
            return RunCountTags;
        case ProcedureId::TextInfo:
            return RunTextInfo;
        case ProcedureId::SortLines:
            return RunSortLines;
        case ProcedureId::RemoveDuplicateLines:
            return RunRemoveDuplicateLines;
        case ProcedureId::AddLinePrefixSuffix:
            return RunAddLinePrefixSuffix;
        case ProcedureId::RemoveFootnotes:
            return RunRemoveFootnotes;
        case ProcedureId::RemoveHyphenation:
            return RunRemoveHyphenation;
        case ProcedureId::RemoveExtraLineBreaks:
            return RunRemoveExtraLineBreaks;
        case ProcedureId::LowerCaseAll:
            return RunLowerCaseAll;
        case ProcedureId::CapitalizeSentences:
            return RunCapitalizeSentences;
        case ProcedureId::RemoveListedCharacters:
            return RunRemoveListedCharacters;
        case ProcedureId::ReplaceListedCharacters:
            return RunReplaceListedCharacters;
        case ProcedureId::RemoveRepeatedPunctuation:
            return RunRemoveRepeatedPunctuation;
        case ProcedureId::Count:
            break;
    }
    throw std::logic_error("no runner for procedure id " + std::to_string(static_cast<int>(id)));
}

}  // namespace vernalith
