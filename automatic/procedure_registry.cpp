#include "automatic/procedure_registry.h"

#include <array>

#include "automatic/catalogue.h"
#include "text/characters.h"
#include "text/letter_case.h"
#include "text/line_breaks.h"
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

const ProcedureInfo kProcedures[] = {
    {"RemoveExtraSpaces", RunRemoveExtraSpaces},
    {"RemoveEmptyLines", RunRemoveEmptyLines},
    {"RemoveHyphenation", RunRemoveHyphenation},
    {"RemoveExtraLineBreaks", RunRemoveExtraLineBreaks},
    {"LowerCaseAll", RunLowerCaseAll},
    {"CapitalizeSentences", RunCapitalizeSentences},
    {"RemoveListedCharacters", RunRemoveListedCharacters},
    {"ReplaceListedCharacters", RunReplaceListedCharacters},
    {"RemoveRepeatedPunctuation", RunRemoveRepeatedPunctuation},
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
