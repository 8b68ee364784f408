#include "automatic/procedure_registry.h"

#include <array>

#include "automatic/catalogue.h"
#include "markup/tag_count.h"
#include "markup/text_info.h"
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
    line(info->totalLabel);
    line(info->nonSpaceLabel);
    for (const WordCount& word : info->words) line(WordListLine(word));
    return report;
}

const ProcedureInfo kProcedures[] = {
    {"RemoveExtraSpaces", RunRemoveExtraSpaces},
    {"RemoveEmptyLines", RunRemoveEmptyLines},
    {"CountTags", RunCountTags, true},
    {"TextInfo", RunTextInfo, true},
};

}  // namespace

std::span<const ProcedureInfo> Procedures() { return kProcedures; }

const ProcedureInfo* FindProcedure(std::string_view name) {
    for (const auto& info : kProcedures) {
        if (info.name == name) return &info;
    }
    return nullptr;
}

const ProcedureInfo* FindProcedureByCaption(std::u16string_view caption) {
    const CatalogueEntry* entry = FindCatalogueEntry(caption);
    return entry ? FindProcedure(entry->procedure) : nullptr;
}

}  // namespace vernalith
