#pragma once

#include <string>

namespace vernalith {

// Every user setting. Each has one text value: what its field holds (lists one entry a line, numbers
// as typed, flags and menu choices as "0"/"1"/index).
enum class Setting {
    RemoveList,
    ReplaceList,
    ProcedureChain,
    ToolBar6Shown,
    ToolBar7Shown,
    ToolBar8Shown,
    DuplicateHeading,
    HeadingLevel,
    HighlightingEnabled,
    HighlighterChoice,
    HotkeyTagOpenF5,
    HotkeyTagOpenF6,
    HotkeyTagOpenF7,
    HotkeyTagOpenF8,
    HotkeyTagCloseF5,
    HotkeyTagCloseF6,
    HotkeyTagCloseF7,
    HotkeyTagCloseF8,
    CustomCountTag,
    ReplaceSeparator,
    ArticleMinChars,
    ArticleMaxChars,
    HeadingOpenTag,
    HeadingCloseTag,
    HeadingLength,
    LinePrefix,
    LineSuffix,
    FootnoteStart,
    FootnoteEnd,
    Count
};

// Where procedures read their settings from when they start: the settings windows' fields in the
// program, defaults and command-line values in the command-line tool.
class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    virtual std::u16string Value(Setting setting) const = 0;
};

}  // namespace vernalith
