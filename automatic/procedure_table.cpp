#include "automatic/procedure_table.h"

#include <algorithm>
#include <array>

namespace vernalith {
namespace {

using Id = ProcedureId;

// One procedure a row.
// clang-format off
constexpr ProcedureRow kProcedures[] = {
    {.id = Id::RemoveExtraSpaces, .name = "RemoveExtraSpaces",
     .listPosition = 4, .caption = u"удаление лишних пробелов", .inDefaultChain = true},
    {.id = Id::RemoveEmptyLines, .name = "RemoveEmptyLines",
     .listPosition = 8, .caption = u"удаление пустых строк", .inDefaultChain = true},
    {.id = Id::StripHtmlTags, .name = "StripHtmlTags",
     .listPosition = 1, .caption = u"удаление html тегов", .inDefaultChain = true},
    {.id = Id::InsertParagraphTags, .name = "InsertParagraphTags",
     .listPosition = 10, .caption = u"простановка тегов абзацев <p></p>", .inDefaultChain = true},
    {.id = Id::SplitIntoArticles, .name = "SplitIntoArticles",
     .listPosition = 9, .caption = u"авторазбивка статей (простановка тегов заголовка)", .inDefaultChain = true},
    {.id = Id::CountTags, .name = "CountTags", .report = true},
    {.id = Id::TextInfo, .name = "TextInfo", .report = true},
    {.id = Id::SortLines, .name = "SortLines",
     .listPosition = 13, .caption = u"упорядочить строки в алфавитном порядке"},
    {.id = Id::RemoveDuplicateLines, .name = "RemoveDuplicateLines",
     .listPosition = 14, .caption = u"удалить дубликаты строк"},
    {.id = Id::AddLinePrefixSuffix, .name = "AddLinePrefixSuffix",
     .listPosition = 15, .caption = u"вставлять символы в начало и в конец строк"},
    {.id = Id::RemoveFootnotes, .name = "RemoveFootnotes",
     .listPosition = 16, .caption = u"удаление сносок", .inDefaultChain = true},
    {.id = Id::RemoveHyphenation, .name = "RemoveHyphenation",
     .listPosition = 6, .caption = u"удаление лишних переносов слов", .inDefaultChain = true},
    {.id = Id::RemoveExtraLineBreaks, .name = "RemoveExtraLineBreaks",
     .listPosition = 5, .caption = u"удаление лишних переходов на новую строку", .inDefaultChain = true},
    {.id = Id::LowerCaseAll, .name = "LowerCaseAll",
     .listPosition = 11, .caption = u"опустить регистр", .inDefaultChain = true},
    {.id = Id::CapitalizeSentences, .name = "CapitalizeSentences",
     .listPosition = 12, .caption = u"поднять регистр там где нужно", .inDefaultChain = true},
    {.id = Id::RemoveListedCharacters, .name = "RemoveListedCharacters",
     .listPosition = 2, .caption = u"удаление указанных символов", .inDefaultChain = true},
    {.id = Id::ReplaceListedCharacters, .name = "ReplaceListedCharacters",
     .listPosition = 3, .caption = u"замена указанных символов", .inDefaultChain = true},
    {.id = Id::RemoveRepeatedPunctuation, .name = "RemoveRepeatedPunctuation",
     .listPosition = 7, .caption = u"удаление лишних пунктуационных знаков (повторяющихся и в начале строк)",
     .inDefaultChain = true},
};
// clang-format on

constexpr int kListLength = 16;

// Checked when the program is compiled: one row per procedure, in the order of their ids, and the list
// positions 1 to 16 each taken by exactly one row that has a caption.
constexpr bool RowsMatchIds() {
    if (std::size(kProcedures) != static_cast<size_t>(Id::Count)) return false;
    for (size_t i = 0; i < std::size(kProcedures); ++i) {
        if (kProcedures[i].id != static_cast<Id>(i) || kProcedures[i].name.empty()) return false;
    }
    return true;
}
constexpr bool ListPositionsComplete() {
    for (int position = 1; position <= kListLength; ++position) {
        int rows = 0;
        for (const ProcedureRow& row : kProcedures) rows += row.listPosition == position && !row.caption.empty();
        if (rows != 1) return false;
    }
    for (const ProcedureRow& row : kProcedures) {
        if ((row.listPosition == 0) != row.caption.empty()) return false;
        if (row.listPosition == 0 && row.inDefaultChain) return false;
    }
    return true;
}
static_assert(RowsMatchIds(), "the procedure table needs exactly one row per ProcedureId, in id order");
static_assert(ListPositionsComplete(), "every procedure-list position from 1 to 16 needs exactly one captioned row");

std::array<const ProcedureRow*, kListLength> BuildCatalogue() {
    std::array<const ProcedureRow*, kListLength> catalogue{};
    for (const ProcedureRow& row : kProcedures) {
        if (row.listPosition > 0) catalogue[static_cast<size_t>(row.listPosition - 1)] = &row;
    }
    return catalogue;
}

}  // namespace

std::span<const ProcedureRow> ProcedureTable() { return kProcedures; }

const ProcedureRow& ProcedureOf(ProcedureId id) { return kProcedures[static_cast<size_t>(id)]; }

const ProcedureRow* FindProcedure(std::string_view name) {
    for (const ProcedureRow& row : kProcedures) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

std::span<const ProcedureRow* const> ProcedureCatalogue() {
    static const std::array<const ProcedureRow*, kListLength> catalogue = BuildCatalogue();
    return catalogue;
}

const ProcedureRow* FindProcedureByCaption(std::u16string_view caption) {
    for (const ProcedureRow* row : ProcedureCatalogue()) {
        if (row->caption == caption) return row;
    }
    return nullptr;
}

std::vector<std::u16string> DefaultProcedureChain() {
    std::vector<std::u16string> chain;
    for (const ProcedureRow* row : ProcedureCatalogue()) {
        if (row->inDefaultChain) chain.emplace_back(row->caption);
    }
    return chain;
}

}  // namespace vernalith
