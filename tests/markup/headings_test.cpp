#include "markup/headings.h"

#include <gtest/gtest.h>

#include "editor_simulation.h"
#include "markup/tag_wrapping.h"

namespace vernalith {
namespace {

using testing::EditorSimulation;
using testing::Marked;
using testing::MarkedText;
using testing::Shown;
using testing::T;

// Runs a plan made for the marked text and selection on the simulated editor; returns the editor
// text with the final selection marked.
template <typename Planner>
std::u16string ApplyPlan(std::string_view before, Planner plan, int* notifications = nullptr) {
    const MarkedText input = Marked(before);
    EditorSimulation editor(input.text, input.start, input.length);
    editor.Apply(plan(input));
    if (notifications) *notifications = editor.notifications();
    return Shown(editor);
}

struct HeadingCase {
    const char* before;  // the editor text, its selection marked
    const char* level;
    bool duplicate;
    const char* after;
};

TEST(HeadingInsertion, Cases) {
    const HeadingCase cases[] = {
        // The heading's own break comes in front of the break that followed the selection.
        {"⟦Введение⟧{CR}{LF}Текст статьи.", "2", false, "‸<h2>Введение</h2>{CR}{LF}{CR}{LF}Текст статьи."},
        {"⟦Введение{CR}{LF}⟧Текст статьи.", "2", false, "‸<h2>Введение</h2>{CR}{LF}Текст статьи."},
        {"⟦Введение⟧{CR}{LF}Текст статьи.", "2", true, "‸<h2>Введение</h2>{CR}{LF}Введение{CR}{LF}Текст статьи."},
        {"⟦Введение{CR}{LF}⟧Текст", "2", true, "‸<h2>Введение</h2>{CR}{LF}Введение{CR}{LF}Текст"},
        // Trimmed by the letter range, the first letter raised; the duplicate is the text as selected.
        {"⟦1. введение⟧{CR}{LF}x", "2", false, "‸<h2>Введение</h2>{CR}{LF}{CR}{LF}x"},
        {"⟦1. введение⟧{CR}{LF}x", "2", true, "‸<h2>Введение</h2>{CR}{LF}1. введение{CR}{LF}x"},
        // The part of the line in front of the selection moves to the next line.
        {"Глава 1. ⟦введение в тему⟧{CR}{LF}Дальше", "2", false,
         "‸<h2>Введение в тему</h2>{CR}{LF}Глава 1. {CR}{LF}Дальше"},
        {"Первая{CR}{LF}Глава 1. ⟦введение⟧ и ещё", "2", false,
         "Первая{CR}{LF}‸<h2>Введение</h2>{CR}{LF}Глава 1.  и ещё"},
        {"Глава 1. ⟦введение⟧", "3", true, "‸<h3>Введение</h3>{CR}{LF}Глава 1. введение"},
        {"a{CR}{LF}⟦b⟧", "2", false, "a{CR}{LF}‸<h2>B</h2>{CR}{LF}"},
        {"a{CR}{LF}x ⟦b{CR}{LF}c⟧ d", "1", false, "a{CR}{LF}‸<h1>B{CR}{LF}c</h1>{CR}{LF}x  d"},
        // Only the first letter is raised; breaks inside the selection stay.
        {"⟦раз{CR}{LF}два⟧", "2", false, "‸<h2>Раз{CR}{LF}два</h2>{CR}{LF}"},
        {"⟦  «цитата»  ⟧", "2", false, "‸<h2>«цитата»</h2>{CR}{LF}"},
        {"⟦всё⟧", "2", false, "‸<h2>Вс</h2>{CR}{LF}"},
        {"⟦ёлка⟧", "2", false, "‸<h2>Лка</h2>{CR}{LF}"},
        {"⟦12345abc⟧", "2", false, "‸<h2>Abc</h2>{CR}{LF}"},
        {"⟦...⟧", "2", false, "‸<h2></h2>{CR}{LF}"},
        {"⟦...⟧", "2", true, "‸<h2></h2>{CR}{LF}..."},
        {"⟦[x]⟧", "2", false, "‸<h2>[x]</h2>{CR}{LF}"},  // "[" is in the letter range and has no case
        {"⟦Ёж — зверь⟧", "4", false, "‸<h4>Ёж — зверь</h4>{CR}{LF}"},
        // No level marked: "<h>" and "</h>".
        {"⟦x⟧", "", false, "‸<h>X</h>{CR}{LF}"},
        // Nothing selected: the pair starts a new line and the caret goes five characters back.
        {"abc‸", "2", false, "abc{CR}{LF}<h2>‸</h2>"},
        {"ab‸c", "2", false, "ab{CR}{LF}<h2>‸</h2>c"},
        {"‸", "5", true, "{CR}{LF}<h5>‸</h5>"},
        {"abc‸", "", false, "abc{CR}{LF}<h‸></h>"},
        {"a{CR}{LF}‸{CR}{LF}b", "2", false, "a{CR}{LF}{CR}{LF}<h2>‸</h2>{CR}{LF}b"},
    };
    for (const auto& c : cases) {
        const std::u16string level = T(c.level);
        int notifications = 0;
        const std::u16string after = ApplyPlan(
            c.before,
            [&](const MarkedText& m) { return PlanHeadingInsertion(m.text, m.start, m.length, level, c.duplicate); },
            &notifications);
        EXPECT_EQ(after, T(c.after)) << c.before << " level " << c.level << (c.duplicate ? " duplicated" : "");
        EXPECT_GE(notifications, 1) << c.before;  // the edit disables undo
    }
}

TEST(HeadingInsertion, StepsMapOntoTheEditorOperations) {
    const MarkedText m = Marked("Глава 1. ⟦введение⟧{CR}{LF}x");
    EXPECT_EQ(PlanHeadingInsertion(m.text, m.start, m.length, u"2", false),
              (EditPlan{EditStep::Replace(u"<h2>Введение</h2>\r\nГлава 1. "), EditStep::SelectionStart(0),
                        EditStep::SelectionLength(9), EditStep::Replace(u"")}));
    const MarkedText caret = Marked("abc‸");
    EXPECT_EQ(PlanHeadingInsertion(caret.text, caret.start, caret.length, u"2", false),
              (EditPlan{EditStep::Replace(u"\r\n<h2></h2>"), EditStep::SelectionStart(9)}));
}

TEST(HeadingInsertion, SelectionPastTheEndIsTakenAsTheEnd) {
    EditorSimulation editor(u"ab", 2, 0);
    editor.Apply(PlanHeadingInsertion(u"ab", 7, 3, u"2", false));
    EXPECT_EQ(Shown(editor), T("ab{CR}{LF}<h2>‸</h2>"));
    EditorSimulation partly(u"ab", 1, 1);
    partly.Apply(PlanHeadingInsertion(u"ab", 1, 100, u"2", false));
    EXPECT_EQ(Shown(partly), T("‸<h2>B</h2>{CR}{LF}a"));
}

TEST(HeadingInsertion, LevelTextFromTheStoredSetting) {
    EXPECT_EQ(HeadingLevelText(u"1"), u"1");
    EXPECT_EQ(HeadingLevelText(u"5"), u"5");
    for (std::u16string_view other : {u"0", u"6", u"", u"-1", u"12", u" 2", u"a"}) {
        EXPECT_EQ(HeadingLevelText(other), u"") << std::string(other.begin(), other.end());
    }
}

struct WrapCase {
    const char* before;
    const char* open;
    const char* close;
    const char* after;
};

TEST(TagWrapping, Cases) {
    const WrapCase cases[] = {
        {"⟦слово⟧", "<b>", "</b>", "<b>слово‸</b>"},
        {"‸", "<h2>", "</h2>", "<h2>‸</h2>"},
        {"ab‸c", "<h2>", "</h2>", "ab<h2>‸</h2>c"},
        {"x ⟦ссылка⟧ y", "<a href=\"\">", "</a>", "x <a href=\"\">ссылка‸</a> y"},
        {"⟦a{CR}{LF}b⟧{CR}{LF}", "<p>", "</p>", "<p>a{CR}{LF}b‸</p>{CR}{LF}"},
        {"x‸", "<br>", "", "x<br>‸"},  // an empty closing tag leaves the caret after the insertion
        {"a⟦b⟧c", "", "", "ab‸c"},
        // Tags holding line breaks: the editor makes each one CR LF; the caret still stands just
        // before the closing tag as the editor holds it.
        {"⟦x⟧", "<p>{LF}", "{CR}</p>", "<p>{CR}{LF}x‸{CR}{LF}</p>"},
        {"⟦x⟧", "{CR}", "{LF}", "{CR}{LF}x‸{CR}{LF}"},
    };
    for (const auto& c : cases) {
        const std::u16string open = T(c.open), close = T(c.close);
        int notifications = 0;
        const std::u16string after = ApplyPlan(
            c.before, [&](const MarkedText& m) { return PlanTagWrapping(m.text, m.start, m.length, open, close); },
            &notifications);
        EXPECT_EQ(after, T(c.after)) << c.before << " " << c.open << c.close;
        EXPECT_EQ(notifications, 1);
    }
}

}  // namespace
}  // namespace vernalith
