#include "automatic/catalogue.h"

#include <array>

namespace vernalith {
namespace {

constexpr std::array<CatalogueEntry, 16> kCatalogue = {{
    {u"удаление html тегов", "StripHtmlTags", true},
    {u"удаление указанных символов", "RemoveListedCharacters", true},
    {u"замена указанных символов", "ReplaceListedCharacters", true},
    {u"удаление лишних пробелов", "RemoveExtraSpaces", true},
    {u"удаление лишних переходов на новую строку", "RemoveExtraLineBreaks", true},
    {u"удаление лишних переносов слов", "RemoveHyphenation", true},
    {u"удаление лишних пунктуационных знаков (повторяющихся и в начале строк)", "RemoveRepeatedPunctuation", true},
    {u"удаление пустых строк", "RemoveEmptyLines", true},
    {u"авторазбивка статей (простановка тегов заголовка)", "SplitIntoArticles", true},
    {u"простановка тегов абзацев <p></p>", "InsertParagraphTags", true},
    {u"опустить регистр", "LowerCaseAll", true},
    {u"поднять регистр там где нужно", "CapitalizeSentences", true},
    {u"упорядочить строки в алфавитном порядке", "SortLines", false},
    {u"удалить дубликаты строк", "RemoveDuplicateLines", false},
    {u"вставлять символы в начало и в конец строк", "AddLinePrefixSuffix", false},
    {u"удаление сносок", "RemoveFootnotes", true},
}};

}  // namespace

std::span<const CatalogueEntry> ProcedureCatalogue() { return kCatalogue; }

const CatalogueEntry* FindCatalogueEntry(std::u16string_view caption) {
    for (const auto& entry : kCatalogue) {
        if (entry.caption == caption) return &entry;
    }
    return nullptr;
}

std::vector<std::u16string> DefaultProcedureChain() {
    std::vector<std::u16string> chain;
    for (const auto& entry : kCatalogue) {
        if (entry.inDefaultChain) chain.emplace_back(entry.caption);
    }
    return chain;
}

}  // namespace vernalith
