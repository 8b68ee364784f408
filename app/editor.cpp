#include "app/editor.h"

#include <Qsci/qscilexerhtml.h>

#include <QFont>

#include "core/editor_text.h"
#include "core/encoding.h"

namespace vernalith {

Editor::Editor(QWidget* parent) : QsciScintilla(parent) {
    setObjectName("richedit1");
    setUtf8(true);
    SendScintilla(SCI_SETEOLMODE, SC_EOL_CRLF);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1);
    // A UTF-16 line index keeps offset <-> position mapping fast on big texts.
    SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, SC_LINECHARACTERINDEX_UTF16);
    ApplyLook();
    connect(this, &QsciScintilla::textChanged, this, [this] {
        if (!silent_) emit Changed();
    });
}

void Editor::ApplyLook() {
    QFont font("Courier New", 10);
    font.setStyleHint(QFont::Monospace);
    setFont(font);
    setMarginsFont(QFont("Courier New", 8));
    setMarginLineNumbers(0, true);
    setMarginWidth(0, "000000");
    setMarginsForegroundColor(Qt::gray);
    setMarginsBackgroundColor(QColor(214, 219, 252));
    setAutoIndent(true);
    setTabWidth(8);
    setIndentationsUseTabs(false);
    setEdgeMode(QsciScintilla::EdgeNone);
    setWrapMode(QsciScintilla::WrapNone);
    auto* lexer = new QsciLexerHTML(this);
    lexer->setDefaultFont(font);
    lexer->setFont(font);
    setLexer(lexer);
}

std::u16string Editor::Text() const {
    const auto length = static_cast<size_t>(const_cast<Editor*>(this)->SendScintilla(SCI_GETLENGTH));
    if (length == 0) return {};
    const char* data = reinterpret_cast<const char*>(const_cast<Editor*>(this)->SendScintilla(SCI_GETCHARACTERPOINTER));
    return DecodeUtf8(std::string_view(data, length));
}

void Editor::ReplaceText(std::u16string_view text) {
    // Texts from the editor and the procedures already have CR LF breaks: no normalised copy then.
    std::u16string normalized;
    if (!HasOnlyCrLfBreaks(text)) {
        normalized = ToEditorText(text);
        text = normalized;
    }
    silent_ = true;
    const bool wasReadOnly = isReadOnly();
    SendScintilla(SCI_SETREADONLY, 0);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0);
    // The UTF-16 line index is rebuilt once after the insertion rather than kept up during it. The
    // text goes in with one append: every append costs the control a pass over its document.
    SendScintilla(SCI_RELEASELINECHARACTERINDEX, SC_LINECHARACTERINDEX_UTF16);
    SendScintilla(SCI_CLEARALL);
    const std::string utf8 = EncodeUtf8(text);
    if (!utf8.empty()) SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(utf8.size()), utf8.data());
    SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, SC_LINECHARACTERINDEX_UTF16);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_GOTOPOS, 0);
    SendScintilla(SCI_SETREADONLY, wasReadOnly ? 1 : 0);
    silent_ = false;
}

void Editor::Clear() { ReplaceText(u""); }

bool Editor::HasInputFocus() const { return hasFocus(); }

long Editor::PositionOfOffset(size_t offset) const {
    auto* self = const_cast<Editor*>(this);
    const long line = self->SendScintilla(SCI_LINEFROMINDEXPOSITION, static_cast<unsigned long>(offset),
                                          static_cast<long>(SC_LINECHARACTERINDEX_UTF16));
    const long lineStart = self->SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long lineIndex = self->SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                               static_cast<long>(SC_LINECHARACTERINDEX_UTF16));
    return self->SendScintilla(SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(lineStart),
                               static_cast<long>(offset) - lineIndex);
}

size_t Editor::OffsetOfPosition(long position) const {
    auto* self = const_cast<Editor*>(this);
    const long line = self->SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
    const long lineStart = self->SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long lineIndex = self->SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                               static_cast<long>(SC_LINECHARACTERINDEX_UTF16));
    const long units = self->SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), position);
    return static_cast<size_t>(lineIndex + units);
}

size_t Editor::SelectionStart() const {
    return OffsetOfPosition(const_cast<Editor*>(this)->SendScintilla(SCI_GETSELECTIONSTART));
}

size_t Editor::SelectionLength() const {
    auto* self = const_cast<Editor*>(this);
    const long start = self->SendScintilla(SCI_GETSELECTIONSTART);
    const long end = self->SendScintilla(SCI_GETSELECTIONEND);
    return static_cast<size_t>(self->SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(start), end));
}

std::u16string Editor::SelectedText() const {
    auto* self = const_cast<Editor*>(this);
    const long start = self->SendScintilla(SCI_GETSELECTIONSTART);
    const long end = self->SendScintilla(SCI_GETSELECTIONEND);
    if (end <= start) return {};
    const char* data = reinterpret_cast<const char*>(
        self->SendScintilla(SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
    return DecodeUtf8(std::string_view(data, static_cast<size_t>(end - start)));
}

void Editor::ReplaceSelection(std::u16string_view text) {
    const std::string utf8 = EncodeUtf8(WithCrLfBreaks(text));
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    // A command's own edit goes in even while the editor is locked against the user.
    const bool wasReadOnly = isReadOnly();
    SendScintilla(SCI_SETREADONLY, 0);
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(utf8.size()), utf8.data());
    SendScintilla(SCI_SETREADONLY, wasReadOnly ? 1 : 0);
    const long caret = start + static_cast<long>(utf8.size());
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(caret), caret);
}

void Editor::SetSelectionStart(size_t position) {
    const long pos = PositionOfOffset(std::min(position, TextLength()));
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(pos), pos);
}

void Editor::SetSelectionLength(size_t length) {
    const size_t start = SelectionStart();
    const long from = PositionOfOffset(start);
    const long to = PositionOfOffset(std::min(start + length, TextLength()));
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(from), to);
}

size_t Editor::LineCount() const {
    auto* self = const_cast<Editor*>(this);
    if (self->SendScintilla(SCI_GETLENGTH) == 0) return 0;
    return static_cast<size_t>(self->SendScintilla(SCI_GETLINECOUNT));
}

size_t Editor::TextLength() const {
    auto* self = const_cast<Editor*>(this);
    const long length = self->SendScintilla(SCI_GETLENGTH);
    return static_cast<size_t>(self->SendScintilla(SCI_COUNTCODEUNITS, 0UL, length));
}

void Editor::SetBusy(bool busy) { setReadOnly(busy); }

}  // namespace vernalith
