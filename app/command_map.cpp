#include "app/command_map.h"

#include <array>

namespace vernalith {
namespace {

using K = Kind;
using P = Place;

// One control a row (long rows wrapped by hand), in the order the user meets them.
// clang-format off
constexpr CommandSpec kCommands[] = {
    // Main menu.
    {"N23", P::FileMenu, u"открыть как...", K::Window, "N23Click"},
    {"N24", P::FileMenu, u"сохранить как...", K::ReadOnly, "N24Click"},
    {"N2", P::FileMenu, u"выход", K::Window, "N2Click", {}, {}, {}, {}, true},
    {"N9", P::HelpMenu, u"о программе", K::Window, "N9Click"},

    // Main tool bar.
    {"ToolButton39", P::ToolBar4, u"открыть как...", K::Window, "N23Click", {}, "document-open"},
    {"ToolButton38", P::ToolBar4, u"сохранить как...", K::ReadOnly, "N24Click", {}, "document-save-as"},
    {"ToolButton15", P::ToolBar4, u"html разметка", K::Window, "ToolButton15Click", {}, "code-block", {}, {}, true},
    {"ToolButton21", P::ToolBar4, u"корректировка текста", K::Window, "ToolButton21Click", {}, "tools-check-spelling"},
    {"ToolButton53", P::ToolBar4, u"функции для работы с дорвеями и ключевиками, прочие функции", K::Window,
     "ToolButton53Click", {}, "view-list-text"},
    {"ToolButton36", P::ToolBar4, u"автоматическая обработка текста", K::WholeText, "ToolButton36Click", "automatic",
     "media-playback-start", {}, {}, true},
    {"N28", P::DropDown, u"параметры", K::Window, "N28Click", {}, {}, "ToolButton36"},
    {"ToolButton17", P::ToolBar4, u"информация о тексте", K::ReadOnly, "ToolButton17Click", {}, "documentinfo"},
    {"ToolButton37", P::ToolBar4, u"подсветка синтаксиса включить/отключить", K::Window, "ToolButton37Click", {},
     "format-text-color"},
    {"N25", P::DropDown, u"подсветка синтаксиса php", K::Window, "N25Click", {}, {}, "ToolButton37", {}, false, true},
    {"css1", P::DropDown, u"подсветка синтаксиса css", K::Window, "css1Click", {}, {}, "ToolButton37", {}, false, true},
    {"htm1", P::DropDown, u"подсветка синтаксиса htm", K::Window, "htm1Click", {}, {}, "ToolButton37", {}, false, true},
    {"mysql1", P::DropDown, u"подсветка синтаксиса sql", K::Window, "mysql1Click", {}, {}, "ToolButton37", {}, false,
     true},
    {"ToolButton34", P::ToolBar4, u"настройка функций", K::Window, "ToolButton34Click", {}, "configure", {}, {}, true},
    {"ToolButton40", P::ToolBar4, u"проверить обновления на сайте программы", K::Window, "ToolButton40Click", {},
     "system-upgrade", {}, {}, true},
    {"ToolButton45", P::ToolBar4, u"обсудить на форуме, предложить новые функции", K::Window, "ToolButton45Click", {},
     "view-conversation-balloon"},
    {"ToolButton50", P::ToolBar4, u"отменить - F4", K::Undo, "ToolButton50Click", {}, "edit-undo", {}, {}, true},

    // HTML markup tool bar.
    {"ToolButton46", P::ToolBar6, u"проставить заголовки - F9", K::Selection, "ToolButton46Click", {},
     "format-font-size-more"},
    {"H1", P::DropDown, u"h1", K::Window, "H1Click", {}, {}, "ToolButton46", {}, false, true},
    {"H21", P::DropDown, u"h2", K::Window, "H21Click", {}, {}, "ToolButton46", {}, false, true},
    {"H31", P::DropDown, u"h3", K::Window, "H31Click", {}, {}, "ToolButton46", {}, false, true},
    {"H41", P::DropDown, u"h4", K::Window, "H41Click", {}, {}, "ToolButton46", {}, false, true},
    {"H51", P::DropDown, u"h5", K::Window, "H51Click", {}, {}, "ToolButton46", {}, false, true},
    {"N33", P::DropDown, u"дублировать заголовок", K::Window, "N33Click", {}, {}, "ToolButton46", {}, true, true},
    {"ToolButton18", P::ToolBar6,
     u"простановка <p> (так же можно проставить тег только в выделенном промежутке текста)", K::Selection,
     "ToolButton18Click", {}, "format-justify-fill"},
    {"ToolButton16", P::ToolBar6, u"вставка тегов, выделите нужный фрагмент текста и нажмите соответствующий хоткей",
     K::Window, "ToolButton16Click", {}, "configure-shortcuts"},
    {"ToolButton19", P::ToolBar6, u"подсчет количества статей по тегу <Hx>, подсчет тегов", K::ReadOnly,
     "ToolButton19Click", {}, "view-statistics"},
    {"N10", P::DropDown, u"ввести свой тег", K::Window, "N10Click", {}, {}, "ToolButton19"},
    {"ToolButton35", P::ToolBar6, u"авторазбивка статей", K::WholeText, "ToolButton35Click", "SplitIntoArticles",
     "view-split-top-bottom"},
    {"N19", P::DropDown, u"параметры", K::Window, "N19Click", {}, {}, "ToolButton35"},
    {"ToolButton48", P::ToolBar6, u"удалить все html теги", K::WholeText, "ToolButton48Click", "StripHtmlTags",
     "edit-clear", {}, {}, true},

    // Text-correction tool bar.
    {"ToolButton22", P::ToolBar7, u"удаление лишних пробелов", K::WholeText, "ToolButton22Click", "RemoveExtraSpaces",
     "format-indent-less"},
    {"ToolButton29", P::ToolBar7, u"удаление повторяющихся знаков препинания и знаков препинания вначале строк",
     K::WholeText, "ToolButton29Click", "RemoveRepeatedPunctuation", "edit-delete"},
    {"ToolButton28", P::ToolBar7, u"удаление символов из текста", K::WholeText, "ToolButton28Click",
     "RemoveListedCharacters", "draw-eraser"},
    {"N13", P::DropDown, u"параметры", K::Window, "N13Click", {}, {}, "ToolButton28"},
    {"ToolButton63", P::ToolBar7, u"удаление сносок", K::WholeTextPumpFirst, "ToolButton63Click", "RemoveFootnotes",
     "format-text-superscript"},
    {"N37", P::DropDown, u"параметры", K::Window, "N37Click", {}, {}, "ToolButton63"},
    {"ToolButton33", P::ToolBar7, u"удаление пустых строк", K::WholeText, "ToolButton33Click", "RemoveEmptyLines",
     "format-line-spacing-normal"},
    {"ToolButton26", P::ToolBar7, u"удаление лишних переходов на новую строку", K::WholeText, "ToolButton26Click",
     "RemoveExtraLineBreaks", "format-join-node"},
    {"ToolButton27", P::ToolBar7, u"удаление лишних переносов", K::WholeText, "ToolButton27Click", "RemoveHyphenation",
     "format-connect-node"},
    {"ToolButton30", P::ToolBar7, u"замена символов", K::WholeText, "ToolButton30Click", "ReplaceListedCharacters",
     "edit-find-replace", {}, {}, true},
    {"N16", P::DropDown, u"параметры", K::Window, "N16Click", {}, {}, "ToolButton30"},
    {"ToolButton62", P::ToolBar7, u"вставлять символы в начало и в конец строк", K::WholeTextPumpFirst,
     "ToolButton62Click", "AddLinePrefixSuffix", "insert-text"},
    {"N34", P::DropDown, u"параметры", K::Window, "N34Click", {}, {}, "ToolButton62"},
    {"ToolButton31", P::ToolBar7, u"опустить регистр", K::WholeText, "ToolButton31Click", "LowerCaseAll", "arrow-down"},
    {"ToolButton32", P::ToolBar7, u"поднять регистр после точек и других знаков", K::WholeText, "ToolButton32Click",
     "CapitalizeSentences", "arrow-up"},
    {"ToolButton60", P::ToolBar7, u"упорядочить строки в алфавитном порядке", K::WholeTextPumpFirst,
     "ToolButton60Click", "SortLines", "view-sort-ascending", {}, {}, true},

    // Lines tool bar.
    {"ToolButton57", P::ToolBar8, u"удалить дубликаты строк (чувствительно к регистру)", K::WholeTextPumpFirst,
     "ToolButton57Click", "RemoveDuplicateLines", "list-remove"},

    // Editor context menu.
    {"N3", P::EditorMenu, u"вырезать", K::Selection, "N3Click"},
    {"N4", P::EditorMenu, u"копировать", K::ReadOnly, "N4Click"},
    {"N5", P::EditorMenu, u"вставить", K::Selection, "N5Click"},
    {"N7", P::EditorMenu, u"выделить все", K::Window, "N7Click", {}, {}, {}, {}, true},
    {"N31", P::EditorMenu, u"очистить поле", K::Window, "N31Click"},

    // Hot keys.
    {"Action6", P::HotKey, u"отменить", K::Undo, "Action6Execute", {}, {}, {}, "F4"},
    {"Action1", P::HotKey, u"тег F5", K::Selection, "Action1Execute", {}, {}, {}, "F5"},
    {"Action2", P::HotKey, u"тег F6", K::Selection, "Action2Execute", {}, {}, {}, "F6"},
    {"Action3", P::HotKey, u"тег F7", K::Selection, "Action3Execute", {}, {}, {}, "F7"},
    {"Action4", P::HotKey, u"тег F8", K::Selection, "Action4Execute", {}, {}, {}, "F8"},
    {"Action5", P::HotKey, u"заголовок F9", K::Selection, "Action5Execute", {}, {}, {}, "F9"},
};
// clang-format on

constexpr StateIcons kStateIcons[] = {
    {"ToolButton15", 6, 7, "code-block", "code-context"},
    {"ToolButton21", 11, 12, "tools-check-spelling", "document-edit"},
    {"ToolButton53", 35, 36, "view-list-text", "view-list-details"},
    {"ToolButton37", 25, 34, "format-stroke-color", "format-text-color"},
};

}  // namespace

std::span<const CommandSpec> CommandMap() { return kCommands; }

const CommandSpec* FindCommand(std::string_view control) {
    for (const auto& command : kCommands) {
        if (command.control == control) return &command;
    }
    return nullptr;
}

std::span<const StateIcons> StateIconTable() { return kStateIcons; }

}  // namespace vernalith
