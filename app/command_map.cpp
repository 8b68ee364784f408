#include "app/command_map.h"

namespace vernalith {
namespace {

using K = Kind;
using P = Place;
using Id = ProcedureId;

// One control a row, in the order the user meets them.
// clang-format off
constexpr CommandSpec kCommands[] = {
    // Main menu.
    {.control = "N23", .place = P::FileMenu, .text = u"открыть как...", .kind = K::Window, .handler = "N23Click",
     .replacesText = true},
    {.control = "N24", .place = P::FileMenu, .text = u"сохранить как...", .kind = K::ReadOnly, .handler = "N24Click"},
    {.control = "N2", .place = P::FileMenu, .text = u"выход", .kind = K::Window, .handler = "N2Click",
     .separatorBefore = true},
    {.control = "N9", .place = P::HelpMenu, .text = u"о программе", .kind = K::Window, .handler = "N9Click"},

    // Main tool bar.
    {.control = "ToolButton39", .place = P::ToolBar4, .text = u"открыть как...", .kind = K::Window,
     .handler = "N23Click", .icon = "document-open", .replacesText = true},
    {.control = "ToolButton38", .place = P::ToolBar4, .text = u"сохранить как...", .kind = K::ReadOnly,
     .handler = "N24Click", .icon = "document-save-as"},
    {.control = "ToolButton15", .place = P::ToolBar4, .text = u"html разметка", .kind = K::Window,
     .separatorBefore = true, .togglesToolBar = "ToolBar6",
     .images = {.offImage = 6, .onImage = 7, .offIcon = "text-html", .onIcon = "applications-development-web"}},
    {.control = "ToolButton21", .place = P::ToolBar4, .text = u"корректировка текста", .kind = K::Window,
     .togglesToolBar = "ToolBar7",
     .images = {.offImage = 11, .onImage = 12, .offIcon = "tools-check-spelling", .onIcon = "document-edit"}},
    {.control = "ToolButton53", .place = P::ToolBar4,
     .text = u"функции для работы с дорвеями и ключевиками, прочие функции", .kind = K::Window,
     .togglesToolBar = "ToolBar8",
     .images = {.offImage = 35, .onImage = 36, .offIcon = "format-list-unordered", .onIcon = "format-list-ordered"}},
    {.control = "ToolButton36", .place = P::ToolBar4, .text = u"автоматическая обработка текста",
     .kind = K::WholeText, .handler = "ToolButton36Click", .icon = "media-playback-start", .separatorBefore = true},
    {.control = "N28", .place = P::DropDown, .text = u"параметры", .kind = K::Window, .handler = "N28Click",
     .parent = "ToolButton36"},
    {.control = "ToolButton17", .place = P::ToolBar4, .text = u"информация о тексте", .kind = K::ReadOnly,
     .handler = "ToolButton17Click", .icon = "documentinfo"},
    {.control = "ToolButton37", .place = P::ToolBar4, .text = u"подсветка синтаксиса включить/отключить",
     .kind = K::Window, .handler = "ToolButton37Click",
     .images = {.offImage = 25, .onImage = 34, .offIcon = "format-stroke-color", .onIcon = "format-text-color",
                .initiallyOn = true}},
    {.control = "N25", .place = P::DropDown, .text = u"подсветка синтаксиса php", .kind = K::Window,
     .handler = "N25Click", .parent = "ToolButton37", .checkable = true},
    {.control = "css1", .place = P::DropDown, .text = u"подсветка синтаксиса css", .kind = K::Window,
     .handler = "css1Click", .parent = "ToolButton37", .checkable = true},
    {.control = "htm1", .place = P::DropDown, .text = u"подсветка синтаксиса htm", .kind = K::Window,
     .handler = "htm1Click", .parent = "ToolButton37", .checkable = true},
    {.control = "mysql1", .place = P::DropDown, .text = u"подсветка синтаксиса sql", .kind = K::Window,
     .handler = "mysql1Click", .parent = "ToolButton37", .checkable = true},
    {.control = "ToolButton34", .place = P::ToolBar4, .text = u"настройка функций", .kind = K::Window,
     .handler = "ToolButton34Click", .icon = "configure", .separatorBefore = true},
    {.control = "ToolButton40", .place = P::ToolBar4, .text = u"проверить обновления на сайте программы",
     .kind = K::Window, .handler = "ToolButton40Click", .icon = "system-upgrade", .separatorBefore = true},
    {.control = "ToolButton45", .place = P::ToolBar4, .text = u"обсудить на форуме, предложить новые функции",
     .kind = K::Window, .handler = "ToolButton45Click", .icon = "view-conversation-balloon"},
    {.control = "ToolButton50", .place = P::ToolBar4, .text = u"отменить - F4", .kind = K::Undo,
     .handler = "ToolButton50Click", .icon = "edit-undo", .separatorBefore = true},

    // HTML markup tool bar.
    {.control = "ToolButton46", .place = P::ToolBar6, .text = u"проставить заголовки - F9", .kind = K::Selection,
     .handler = "ToolButton46Click", .icon = "format-font-size-more", .menuEndsWithClose = false},
    {.control = "H1", .place = P::DropDown, .text = u"h1", .kind = K::Window, .handler = "H1Click",
     .parent = "ToolButton46", .checkable = true},
    {.control = "H21", .place = P::DropDown, .text = u"h2", .kind = K::Window, .handler = "H21Click",
     .parent = "ToolButton46", .checkable = true},
    {.control = "H31", .place = P::DropDown, .text = u"h3", .kind = K::Window, .handler = "H31Click",
     .parent = "ToolButton46", .checkable = true},
    {.control = "H41", .place = P::DropDown, .text = u"h4", .kind = K::Window, .handler = "H41Click",
     .parent = "ToolButton46", .checkable = true},
    {.control = "H51", .place = P::DropDown, .text = u"h5", .kind = K::Window, .handler = "H51Click",
     .parent = "ToolButton46", .checkable = true},
    {.control = "N33", .place = P::DropDown, .text = u"дублировать заголовок", .kind = K::Window,
     .handler = "N33Click", .parent = "ToolButton46", .separatorBefore = true, .checkable = true},
    {.control = "ToolButton18", .place = P::ToolBar6,
     .text = u"простановка <p> (так же можно проставить тег только в выделенном промежутке текста)",
     .kind = K::Selection, .handler = "ToolButton18Click", .icon = "format-justify-fill"},
    {.control = "ToolButton16", .place = P::ToolBar6,
     .text = u"вставка тегов, выделите нужный фрагмент текста и нажмите соответствующий хоткей", .kind = K::Window,
     .handler = "ToolButton16Click", .icon = "configure-shortcuts"},
    {.control = "ToolButton19", .place = P::ToolBar6, .text = u"подсчет количества статей по тегу <Hx>, подсчет тегов",
     .kind = K::ReadOnly, .handler = "ToolButton19Click", .icon = "view-statistics"},
    {.control = "N10", .place = P::DropDown, .text = u"ввести свой тег", .kind = K::Window, .handler = "N10Click",
     .parent = "ToolButton19"},
    {.control = "ToolButton35", .place = P::ToolBar6, .text = u"авторазбивка статей", .kind = K::WholeText,
     .procedure = Id::SplitIntoArticles, .icon = "view-split-top-bottom"},
    {.control = "N19", .place = P::DropDown, .text = u"параметры", .kind = K::Window, .handler = "N19Click",
     .parent = "ToolButton35"},
    {.control = "ToolButton48", .place = P::ToolBar6, .text = u"удалить все html теги", .kind = K::WholeText,
     .procedure = Id::StripHtmlTags, .icon = "edit-clear", .separatorBefore = true},

    // Text-correction tool bar.
    {.control = "ToolButton22", .place = P::ToolBar7, .text = u"удаление лишних пробелов", .kind = K::WholeText,
     .procedure = Id::RemoveExtraSpaces, .icon = "format-indent-less"},
    {.control = "ToolButton29", .place = P::ToolBar7,
     .text = u"удаление повторяющихся знаков препинания и знаков препинания вначале строк", .kind = K::WholeText,
     .procedure = Id::RemoveRepeatedPunctuation, .icon = "edit-delete"},
    {.control = "ToolButton28", .place = P::ToolBar7, .text = u"удаление символов из текста", .kind = K::WholeText,
     .procedure = Id::RemoveListedCharacters, .icon = "draw-eraser"},
    {.control = "N13", .place = P::DropDown, .text = u"параметры", .kind = K::Window, .handler = "N13Click",
     .parent = "ToolButton28"},
    {.control = "ToolButton63", .place = P::ToolBar7, .text = u"удаление сносок", .kind = K::WholeTextPumpFirst,
     .procedure = Id::RemoveFootnotes, .icon = "format-text-superscript", .rightClickMenu = true},
    {.control = "N37", .place = P::DropDown, .text = u"параметры", .kind = K::Window, .handler = "N37Click",
     .parent = "ToolButton63"},
    {.control = "ToolButton33", .place = P::ToolBar7, .text = u"удаление пустых строк", .kind = K::WholeText,
     .procedure = Id::RemoveEmptyLines, .icon = "format-line-spacing-normal"},
    {.control = "ToolButton26", .place = P::ToolBar7, .text = u"удаление лишних переходов на новую строку",
     .kind = K::WholeText, .procedure = Id::RemoveExtraLineBreaks, .icon = "format-join-node"},
    {.control = "ToolButton27", .place = P::ToolBar7, .text = u"удаление лишних переносов", .kind = K::WholeText,
     .procedure = Id::RemoveHyphenation, .icon = "list-remove"},
    {.control = "ToolButton30", .place = P::ToolBar7, .text = u"замена символов", .kind = K::WholeText,
     .procedure = Id::ReplaceListedCharacters, .icon = "edit-find-replace", .separatorBefore = true},
    {.control = "N16", .place = P::DropDown, .text = u"параметры", .kind = K::Window, .handler = "N16Click",
     .parent = "ToolButton30"},
    {.control = "ToolButton62", .place = P::ToolBar7, .text = u"вставлять символы в начало и в конец строк",
     .kind = K::WholeTextPumpFirst, .procedure = Id::AddLinePrefixSuffix, .icon = "insert-text"},
    {.control = "N34", .place = P::DropDown, .text = u"параметры", .kind = K::Window, .handler = "N34Click",
     .parent = "ToolButton62"},
    {.control = "ToolButton31", .place = P::ToolBar7, .text = u"опустить регистр", .kind = K::WholeText,
     .procedure = Id::LowerCaseAll, .icon = "arrow-down"},
    {.control = "ToolButton32", .place = P::ToolBar7, .text = u"поднять регистр после точек и других знаков",
     .kind = K::WholeText, .procedure = Id::CapitalizeSentences, .icon = "arrow-up"},
    {.control = "ToolButton60", .place = P::ToolBar7, .text = u"упорядочить строки в алфавитном порядке",
     .kind = K::WholeTextPumpFirst, .procedure = Id::SortLines, .icon = "view-sort-ascending",
     .separatorBefore = true},

    // Lines tool bar.
    {.control = "ToolButton57", .place = P::ToolBar8, .text = u"удалить дубликаты строк (чувствительно к регистру)",
     .kind = K::WholeTextPumpFirst, .procedure = Id::RemoveDuplicateLines, .icon = "edit-clear-list"},

    // Editor context menu.
    {.control = "N3", .place = P::EditorMenu, .text = u"вырезать", .kind = K::Selection, .handler = "N3Click"},
    {.control = "N4", .place = P::EditorMenu, .text = u"копировать", .kind = K::ReadOnly, .handler = "N4Click"},
    {.control = "N5", .place = P::EditorMenu, .text = u"вставить", .kind = K::Selection, .handler = "N5Click"},
    {.control = "N7", .place = P::EditorMenu, .text = u"выделить все", .kind = K::Window, .handler = "N7Click",
     .separatorBefore = true},
    {.control = "N31", .place = P::EditorMenu, .text = u"очистить поле", .kind = K::Window, .handler = "N31Click",
     .replacesText = true},

    // Hot keys.
    {.control = "Action6", .place = P::HotKey, .text = u"отменить", .kind = K::Undo, .handler = "Action6Execute",
     .shortcut = "F4"},
    {.control = "Action1", .place = P::HotKey, .text = u"тег F5", .kind = K::Selection, .handler = "Action1Execute",
     .shortcut = "F5"},
    {.control = "Action2", .place = P::HotKey, .text = u"тег F6", .kind = K::Selection, .handler = "Action2Execute",
     .shortcut = "F6"},
    {.control = "Action3", .place = P::HotKey, .text = u"тег F7", .kind = K::Selection, .handler = "Action3Execute",
     .shortcut = "F7"},
    {.control = "Action4", .place = P::HotKey, .text = u"тег F8", .kind = K::Selection, .handler = "Action4Execute",
     .shortcut = "F8"},
    {.control = "Action5", .place = P::HotKey, .text = u"заголовок F9", .kind = K::Selection,
     .handler = "Action5Execute", .shortcut = "F9"},
};
// clang-format on

}  // namespace

std::span<const CommandSpec> CommandMap() { return kCommands; }

const CommandSpec* FindCommand(std::string_view control) {
    for (const auto& command : kCommands) {
        if (command.control == control) return &command;
    }
    return nullptr;
}

bool ChangesText(const CommandSpec& command) {
    switch (command.kind) {
        case Kind::WholeText:
        case Kind::WholeTextPumpFirst:
        case Kind::Selection:
        case Kind::Undo:
            return true;
        case Kind::ReadOnly:
        case Kind::Window:
            return command.replacesText;
    }
    return false;
}

}  // namespace vernalith
