#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "automatic/procedure_table.h"

namespace vernalith {

// Where a control lives.
enum class Place {
    FileMenu,    // main menu "Файл"
    HelpMenu,    // main menu "Справка"
    ToolBar4,    // main tool bar, always visible
    ToolBar6,    // HTML markup
    ToolBar7,    // text correction
    ToolBar8,    // lines
    DropDown,    // an item of a tool button's drop-down menu (`parent` names the button)
    EditorMenu,  // the editor's context menu
    HotKey,      // a window-wide key
};

// What a control does when triggered.
enum class Kind {
    WholeText,           // runs `procedure` through the command wrapper
    WholeTextPumpFirst,  // the same, letting pending events through before the text is read
    Selection,           // edits the editor through its selection (needs the editor's focus)
    ReadOnly,            // reads the text and shows a result
    Window,              // opens a window, switches a tool bar or a menu mark, or similar
    Undo,                // puts the undo snapshot back
};

// The two pictures of a two-state button (tool-bar toggles, highlighting) with their image indexes.
struct StateImages {
    int offImage = -1;
    int onImage = -1;
    std::string_view offIcon = {};
    std::string_view onIcon = {};
    bool initiallyOn = false;

    constexpr bool used() const { return offImage >= 0; }
};

// One control of the main window. The window builds its menus, tool bars and hot keys from the
// table of these, in table order; tests walk the same table.
struct CommandSpec {
    std::string_view control;  // component name: "ToolButton22", "N23", "Action6"
    Place place;
    std::u16string_view text;  // hint of a tool button, caption of a menu item
    Kind kind;
    std::string_view handler = {};              // attached by name: "ToolButton17Click", "Action6Execute"
    std::optional<ProcedureId> procedure = {};  // what a whole-text command runs through the wrapper
    std::string_view icon = {};                 // icon theme name (tool buttons)
    std::string_view parent = {};               // the tool button whose drop-down menu holds this item
    std::string_view shortcut = {};             // "F4"
    bool separatorBefore = false;
    bool checkable = false;                // a menu item that shows the check image when chosen
    bool replacesText = false;             // a window command that replaces the editor text (open, clear)
    bool menuEndsWithClose = true;         // on a drop-down button: its menu ends with "закрыть меню"
    bool rightClickMenu = false;           // on a drop-down button: a right-click opens its menu too
    std::string_view togglesToolBar = {};  // the optional tool bar this button shows and hides
    StateImages images = {};
    bool notBuiltYet = false;  // shown, but disabled: the feature is still to come
};

// Every control, in the order it appears.
std::span<const CommandSpec> CommandMap();

// A control by its component name; nullptr when there is none.
const CommandSpec* FindCommand(std::string_view control);

// Commands that change the editor text: locked while another such command runs.
bool ChangesText(const CommandSpec& command);

inline constexpr std::u16string_view kCloseMenuText = u"закрыть меню";
inline constexpr std::string_view kCheckIcon = "dialog-ok-apply";  // image 30: a chosen menu item
inline constexpr int kCheckImage = 30;

}  // namespace vernalith
