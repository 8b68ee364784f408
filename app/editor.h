#pragma once

#include <Qsci/qsciscintilla.h>

#include <string>
#include <string_view>

#include "app/prepared_document.h"

namespace vernalith {

// The editor `richedit1`: the program's one document, seen through its text model. The whole text
// reads as the lines joined by CR LF; positions and lengths are 0-based UTF-16 offsets into that
// text, every line break counting two.
class Editor : public QsciScintilla {
    Q_OBJECT

public:
    explicit Editor(QWidget* parent = nullptr);

    // The whole text: the lines joined by CR LF, no break after the last line.
    std::u16string Text() const;
    // Replaces the whole text. Every line break (CR LF, lone CR, lone LF, U+2028) becomes a break;
    // a final break leaves an empty last line; U+0000 stays. Empties the typing history, puts the
    // caret at the start and raises no change notification.
    void ReplaceText(std::u16string_view text);
    // Deletes every line and the typing history; no change notification.
    void Clear();

    // A new, empty document to fill (on any thread) and adopt: ReplaceText in two halves, so the
    // costly half can run away from the window's thread.
    PreparedDocument NewDocument();
    // Makes a filled document the editor's text, as ReplaceText does.
    void Adopt(PreparedDocument document);
    // The whole text as the control stores it (UTF-8, CR LF breaks), without a copy. Valid while the
    // text does not change: read it from another thread only while the editor is busy.
    std::string_view Utf8Text() const;

    bool HasInputFocus() const;
    size_t SelectionStart() const;
    size_t SelectionLength() const;
    std::u16string SelectedText() const;
    // Deletes the selection (if any) and inserts `text` there; CR LF, lone CR and lone LF in it each
    // become a line break. Nothing is selected afterwards and the caret stands after the insertion.
    // Raises the change notification.
    void ReplaceSelection(std::u16string_view text);
    // Moves the caret to `position`, selecting nothing.
    void SetSelectionStart(size_t position);
    // Selects `length` characters from the selection start.
    void SetSelectionLength(size_t length);
    size_t LineCount() const;
    size_t TextLength() const;

    // While busy the editor takes no edits from the user (a procedure is running on its text).
    void SetBusy(bool busy);

    // Makes `lexer` the colouring of the text (nullptr: none), keeping the editor's font and gutter.
    void SetHighlighter(QsciLexer* lexer);

signals:
    // After each edit made through the editor's own editing operations, or by ReplaceSelection;
    // never after ReplaceText or Clear.
    void Changed();

private:
    long PositionOfOffset(size_t offset) const;
    size_t OffsetOfPosition(long position) const;
    // The UTF-16 line index that makes offset <-> position mapping fast, built when first needed
    // after a document was adopted (building it is a pass over the whole text).
    void EnsureLineIndex() const;
    // Whether the horizontal scroll range follows the widest line (small texts) or stays fixed.
    void FollowLongestLine(bool follow);
    static constexpr long kLongestLineTrackedBelow = 1L << 20;  // bytes of the stored text
    static constexpr int kFixedScrollWidth = 2000;              // pixels
    void ApplyLook();
    // What belongs to the document rather than the view: code page, line breaks, tabs, the
    // highlighter's language, keywords and properties. Applied again to every adopted document.
    void ApplyDocumentSettings();
    void ApplyFonts();
    // Whether an edit left a lone CR or a lone LF in the text.
    bool BreaksNeedFixing(int type, long position, const char* text, int length) const;
    void ScheduleBreakFix();
    // Turns lone CR and lone LF into CR LF; done before anything reads the text.
    void FixBreaks() const;
    void GoToSmartEnd(bool extend);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Dropped and pasted text comes in with CR LF breaks.
    QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;

private:
    bool silent_ = false;
    mutable bool lineIndexReady_ = false;
    // Set while ReplaceText inserts a text whose breaks are already CR LF.
    bool insertingClean_ = false;
    bool notifying_ = false;
    mutable bool breakFixPending_ = false;
    // Creates the documents that NewDocument hands out. Creating a document through a control resets
    // that control's record of which lines are shown, so that its next paint highlights the whole
    // current text; this hidden control takes that reset instead of the editor.
    QsciScintillaBase* documentMaker_;
    // The shown document as its loader, when the editor adopted it (not the control's first one).
    void* shownHandle_ = nullptr;
    DocumentDropper dropper_;
};

}  // namespace vernalith
