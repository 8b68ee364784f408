#pragma once

#include <span>
#include <string_view>

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

// One control of the main window. The window builds its menus, tool bars and hot keys from the
// table of these, in table order; tests walk the same table.
struct CommandSpec {
    std::string_view control;  // component name: "ToolButton22", "N23", "Action6"
    Place place;
    std::u16string_view text;  // hint of a tool button, caption of a menu item
    Kind kind;
    std::string_view handler;         // the handler's name: "ToolButton22Click", "Action6Execute"
    std::string_view procedure = {};  // the registry procedure of a whole-text command
    std::string_view icon = {};       // icon theme name (tool buttons)
    std::string_view parent = {};     // the tool button whose drop-down menu holds this item
    std::string_view shortcut = {};   // "F4"
    bool separatorBefore = false;
    bool checkable = false;  // a menu item that shows the check image when chosen
};

// Every control, in the order it appears.
std::span<const CommandSpec> CommandMap();

// A control by its component name; nullptr when there is none.
const CommandSpec* FindCommand(std::string_view control);

// The icon a two-state button shows in each state (tool-bar toggles, highlighting).
struct StateIcons {
    std::string_view control;
    int offImage, onImage;  // the state image indexes
    std::string_view offIcon, onIcon;
};
std::span<const StateIcons> StateIconTable();

inline constexpr std::u16string_view kCloseMenuText = u"закрыть меню";
inline constexpr std::string_view kCheckIcon = "dialog-ok-apply";  // image 30: a chosen menu item

}  // namespace vernalith
