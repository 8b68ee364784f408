#pragma once

#include <string>
#include <string_view>

#include "core/progress.h"

namespace vernalith {

// Wraps every non-empty line in "<p>" and "</p>", except a line that already holds "<p" or "<P"
// anywhere. Lines end at CR LF, lone CR or lone LF; the result puts CR LF after every line. Reports
// "выполнено N %" before each line (N = line index / line count) and clears the percentage at the end.
std::u16string InsertParagraphTags(std::u16string_view text, ProgressReporter& progress);

// What the paragraph command edits: the selection when there is one, else the whole editor text.
enum class ParagraphScope { Selection, WholeText };

struct ParagraphEdit {
    ParagraphScope scope;
    std::u16string text;  // replaces the selection or the whole editor text
};

// The text work of the paragraph command: the paragraph rule on `selectedText` when it is not empty
// (selection mode), otherwise on `editorText`. The command replaces the selection or the editor text
// by the result as `scope` says; it reads and writes the editor, nothing more.
ParagraphEdit TagParagraphsForCommand(std::u16string_view selectedText, std::u16string_view editorText,
                                      ProgressReporter& progress);

}  // namespace vernalith
