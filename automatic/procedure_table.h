#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vernalith {

// Every procedure that takes a whole text and gives a whole text back.
enum class ProcedureId {
    RemoveExtraSpaces,
    RemoveEmptyLines,
    StripHtmlTags,
    InsertParagraphTags,
    SplitIntoArticles,
    CountTags,
    TextInfo,
    SortLines,
    RemoveDuplicateLines,
    AddLinePrefixSuffix,
    RemoveFootnotes,
    RemoveHyphenation,
    RemoveExtraLineBreaks,
    LowerCaseAll,
    CapitalizeSentences,
    RemoveListedCharacters,
    ReplaceListedCharacters,
    RemoveRepeatedPunctuation,
    Count
};

// The facts about one procedure. The code that runs it is found through its id
// (automatic/procedure_runners.h), so this table can be read without linking any procedure.
struct ProcedureRow {
    ProcedureId id;
    std::string_view name;  // as the command-line tool accepts it
    // A report's result is a message about the text (counts, statistics), not a new text: the
    // command-line tool writes it as it is.
    bool report = false;
    // The caption of its entry in the procedure list (its whole identity there, matched exactly) and
    // the entry's place in that list, from 1; 0 and no caption for a procedure the list does not offer.
    int listPosition = 0;
    std::u16string_view caption = {};
    bool inDefaultChain = false;  // one of the entries the list holds before a saved one is read
};

// Every procedure, one row each, in the order the command-line tool lists them.
std::span<const ProcedureRow> ProcedureTable();

const ProcedureRow& ProcedureOf(ProcedureId id);
// A procedure by its name; nullptr when none has it.
const ProcedureRow* FindProcedure(std::string_view name);

// The procedures the procedure list offers, in list order.
std::span<const ProcedureRow* const> ProcedureCatalogue();
// The procedure whose list caption equals `caption` exactly (no trimming, case-sensitive); nullptr
// when none does.
const ProcedureRow* FindProcedureByCaption(std::u16string_view caption);

// The chain the procedure list holds before a saved one is read: the marked entries, in list order.
std::vector<std::u16string> DefaultProcedureChain();

}  // namespace vernalith
