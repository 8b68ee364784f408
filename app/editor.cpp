#include "app/editor.h"

#include <Qsci/qscilexer.h>

#include <QFont>
#include <QKeyEvent>
#include <cstring>
#include <utility>

#include "core/editor_text.h"
#include "core/encoding.h"
#include "core/fast_transcode.h"

namespace vernalith {

Editor::Editor(QWidget* parent) : QsciScintilla(parent), documentMaker_(new QsciScintillaBase(this)) {
    documentMaker_->hide();
    setObjectName("richedit1");
    setUtf8(true);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1);
    ApplyLook();
    ApplyDocumentSettings();
    connect(this, &QsciScintilla::textChanged, this, [this] {
        if (silent_) return;
        notifying_ = true;
        emit Changed();
        notifying_ = false;
    });
    // Texts that come in other than by typing (the accessibility interface, input methods, the
    // control's own insertion calls) may bring lone CR or LF: they become CR LF right after the edit,
    // as the control takes no edits while it reports one. Undo and redo put back what was there.
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char* text, int length, int, int, int, int, int, int) {
                if (insertingClean_ || !(type & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT))) return;
                if (type & (SC_PERFORMED_UNDO | SC_PERFORMED_REDO)) return;
                if (BreaksNeedFixing(type, position, text, length)) ScheduleBreakFix();
            });
}

namespace {

// True when `bytes` holds a CR not followed by LF or an LF not preceded by CR.
bool HasLoneBreak(std::string_view bytes) {
    const char* data = bytes.data();
    const size_t size = bytes.size();
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\n') return true;
        if (c == '\r') {
            if (i + 1 >= size || data[i + 1] != '\n') return true;
            ++i;
        }
    }
    return false;
}

std::string WithCrLfBytes(std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 16 + 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            result += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace

bool Editor::BreaksNeedFixing(int type, long position, const char* text, int length) const {
    auto* self = const_cast<Editor*>(this);
    const auto charAt = [self](long at) {
        return at < 0 ? 0L : self->SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(at));
    };
    // An edit may leave half of a CR LF pair at either of its ends.
    const long end = (type & SC_MOD_INSERTTEXT) ? position + length : position;
    if (charAt(position) == '\n' && charAt(position - 1) != '\r') return true;
    if (charAt(end - 1) == '\r' && charAt(end) != '\n') return true;
    if (charAt(end) == '\n' && charAt(end - 1) != '\r') return true;
    if (!(type & SC_MOD_INSERTTEXT) || !text || length <= 0) return false;
    const std::string_view bytes(text, static_cast<size_t>(length));
    if (!std::memchr(text, '\r', bytes.size()) && !std::memchr(text, '\n', bytes.size())) return false;
    return HasLoneBreak(bytes);
}

void Editor::ScheduleBreakFix() {
    if (breakFixPending_) return;
    breakFixPending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { FixBreaks(); }, Qt::QueuedConnection);
}

void Editor::FixBreaks() const {
    // Not while the change notification of the edit itself is being handled.
    if (!breakFixPending_ || notifying_) return;
    breakFixPending_ = false;
    auto* self = const_cast<Editor*>(this);
    const bool wasReadOnly = isReadOnly();
    self->SendScintilla(SCI_SETREADONLY, 0);
    self->SendScintilla(SCI_CONVERTEOLS, static_cast<unsigned long>(SC_EOL_CRLF));
    self->SendScintilla(SCI_SETREADONLY, wasReadOnly ? 1 : 0);
}

QByteArray Editor::fromMimeData(const QMimeData* source, bool& rectangular) const {
    QByteArray bytes = QsciScintillaBase::fromMimeData(source, rectangular);
    const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (!HasLoneBreak(view)) return bytes;
    const std::string fixed = WithCrLfBytes(view);
    return QByteArray(fixed.data(), static_cast<qsizetype>(fixed.size()));
}

namespace {

QFont TextFont() {
    QFont font("Courier New", 10);
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace

void Editor::ApplyFonts() {
    setFont(TextFont());
    QFont numbers("Courier New", 8);
    numbers.setStyleHint(QFont::Monospace);
    setMarginsFont(numbers);
    setMarginsForegroundColor(Qt::gray);
    // The control paints one colour per margin, not a gradient: the gutter takes the gradient's end
    // colour.
    setMarginsBackgroundColor(QColor(214, 219, 252));
}

void Editor::ApplyLook() {
    ApplyFonts();
    setMarginLineNumbers(0, true);
    setMarginWidth(0, "000000");
    setAutoIndent(true);
    setTabWidth(8);
    setIndentationsUseTabs(false);
    setTabIndents(true);
    setBackspaceUnindents(true);
    setEdgeMode(QsciScintilla::EdgeNone);
    setWrapMode(QsciScintilla::WrapNone);
    // The editor shows no annotations. Left visible (the control's default), switching to a new
    // document walks every line for its annotation height: 22 of 31 ms on 2.4 million lines.
    setAnnotationDisplay(QsciScintilla::AnnotationHidden);
    // The caret may stand beyond the end of a line; typing there fills the gap with spaces.
    SendScintilla(SCI_SETVIRTUALSPACEOPTIONS, static_cast<unsigned long>(SCVS_USERACCESSIBLE));
    FollowLongestLine(true);
    // The control's own layout cache (the caret's line) is kept: caching the page did not make typing in
    // a very long line faster, and made repaints of a large highlighted text during a command slower.
}

void Editor::SetHighlighter(QsciLexer* lexer) {
    if (lexer) {
        lexer->setDefaultFont(TextFont());
        lexer->setFont(TextFont());
    }
    setLexer(lexer);
    if (!lexer) {
        // Without a highlighter the text keeps no colours from the previous one.
        SendScintilla(SCI_SETLEXER, static_cast<unsigned long>(SCLEX_NULL));
        SendScintilla(SCI_CLEARDOCUMENTSTYLE);
    }
    ApplyFonts();
}

void Editor::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_End && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        GoToSmartEnd(modifiers == Qt::ShiftModifier);
        event->accept();
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

// End goes first just after the last non-blank character of the line and, pressed there, to the
// line's end.
void Editor::GoToSmartEnd(bool extend) {
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    const long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    long lastText = end;
    while (lastText > start) {
        const long c = SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(lastText - 1));
        if (c != ' ' && c != '\t') break;
        --lastText;
    }
    const bool atTextEnd = caret == lastText && SendScintilla(SCI_GETSELECTIONNCARETVIRTUALSPACE, 0UL) == 0;
    const long target = (atTextEnd || lastText == start) ? end : lastText;
    if (extend) {
        SendScintilla(SCI_SETCURRENTPOS, static_cast<unsigned long>(target));
    } else {
        SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(target));
    }
    SendScintilla(SCI_CHOOSECARETX);
    SendScintilla(SCI_SCROLLCARET);
}

std::u16string Editor::Text() const { return *FastDecodeUtf8(Utf8Text(), /*strict=*/false, /*editorBreaks=*/false); }

void Editor::ReplaceText(std::u16string_view text) {
    PreparedDocument document = NewDocument();
    document.Fill(text);
    Adopt(std::move(document));
}

PreparedDocument Editor::NewDocument() {
    return PreparedDocument(documentMaker_,
                            reinterpret_cast<void*>(documentMaker_->SendScintilla(SCI_CREATELOADER, 0UL, 0L)));
}

void Editor::Adopt(PreparedDocument document) {
    if (!document.Filled()) document.Fill(u"");
    breakFixPending_ = false;  // whatever the old text needed, it goes
    silent_ = true;
    insertingClean_ = true;
    const bool wasReadOnly = isReadOnly();
    SendScintilla(SCI_SETREADONLY, 0);
    // A document the editor adopted earlier is freed on a thread of its own once the editor lets it
    // go. The control's first document is kept alive by the control for as long as it exists: that
    // one is emptied instead, so that it does not go on holding a whole text.
    void* outgoing = reinterpret_cast<void*>(SendScintilla(SCI_GETDOCPOINTER));
    void* outgoingHandle = std::exchange(shownHandle_, document.handle_);
    if (outgoingHandle) {
        SendScintilla(SCI_ADDREFDOCUMENT, 0UL, outgoing);
    } else {
        SendScintilla(SCI_SETUNDOCOLLECTION, 0);
        SendScintilla(SCI_CLEARALL);
        SendScintilla(SCI_EMPTYUNDOBUFFER);
    }
    void* incoming = std::exchange(document.document_, nullptr);
    document.handle_ = nullptr;
    SendScintilla(SCI_SETDOCPOINTER, 0UL, incoming);
    // The control holds the document now; the loader's own reference goes.
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, incoming);
    if (outgoingHandle) dropper_.Drop(outgoingHandle);
    lineIndexReady_ = false;
    // A loaded document starts without a typing history, and collects one from here.
    SendScintilla(SCI_SETUNDOCOLLECTION, 1);
    ApplyDocumentSettings();
    FollowLongestLine(SendScintilla(SCI_GETLENGTH) < kLongestLineTrackedBelow);
    SendScintilla(SCI_GOTOPOS, 0);
    SendScintilla(SCI_SETREADONLY, wasReadOnly ? 1 : 0);
    insertingClean_ = false;
    silent_ = false;
}

std::string_view Editor::Utf8Text() const {
    FixBreaks();
    auto* self = const_cast<Editor*>(this);
    const auto length = static_cast<size_t>(self->SendScintilla(SCI_GETLENGTH));
    if (length == 0) return {};
    return {reinterpret_cast<const char*>(self->SendScintilla(SCI_GETCHARACTERPOINTER)), length};
}

void Editor::ApplyDocumentSettings() {
    SendScintilla(SCI_SETCODEPAGE, SC_CP_UTF8);
    SendScintilla(SCI_SETEOLMODE, SC_EOL_CRLF);
    SendScintilla(SCI_SETTABWIDTH, 8);
    SendScintilla(SCI_SETUSETABS, 0);
    SendScintilla(SCI_SETTABINDENTS, 1);
    SendScintilla(SCI_SETBACKSPACEUNINDENTS, 1);
    if (QsciLexer* highlighter = lexer()) {
        // The language, keywords and properties live with the document; the styles with the view.
        SendScintilla(SCI_SETLEXERLANGUAGE, 0UL, highlighter->lexer());
        for (int set = 0; set < 9; ++set) {
            if (const char* words = highlighter->keywords(set + 1)) {
                SendScintilla(SCI_SETKEYWORDS, static_cast<unsigned long>(set), words);
            }
        }
        highlighter->refreshProperties();
    } else {
        SendScintilla(SCI_SETLEXER, static_cast<unsigned long>(SCLEX_NULL));
    }
}

void Editor::FollowLongestLine(bool follow) {
    // Following, the horizontal scroll bar shows only when a line is wider than the view and its range
    // grows with the widest line painted. On a large highlighted text the control answers the bar's
    // appearing with a pass that colours the whole text (seconds at 16 MB), so there the range is
    // fixed instead and the bar always shown.
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, follow ? 1UL : 0UL);
    SendScintilla(SCI_SETSCROLLWIDTH, follow ? 1UL : static_cast<unsigned long>(kFixedScrollWidth));
}

void Editor::EnsureLineIndex() const {
    if (lineIndexReady_) return;
    const_cast<Editor*>(this)->SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, SC_LINECHARACTERINDEX_UTF16);
    lineIndexReady_ = true;
}

void Editor::Clear() { ReplaceText(u""); }

bool Editor::HasInputFocus() const { return hasFocus(); }

long Editor::PositionOfOffset(size_t offset) const {
    EnsureLineIndex();
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
    EnsureLineIndex();
    auto* self = const_cast<Editor*>(this);
    const long line = self->SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
    const long lineStart = self->SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long lineIndex = self->SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                               static_cast<long>(SC_LINECHARACTERINDEX_UTF16));
    const long units = self->SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), position);
    return static_cast<size_t>(lineIndex + units);
}

size_t Editor::SelectionStart() const {
    FixBreaks();
    return OffsetOfPosition(const_cast<Editor*>(this)->SendScintilla(SCI_GETSELECTIONSTART));
}

size_t Editor::SelectionLength() const {
    FixBreaks();
    auto* self = const_cast<Editor*>(this);
    const long start = self->SendScintilla(SCI_GETSELECTIONSTART);
    const long end = self->SendScintilla(SCI_GETSELECTIONEND);
    return static_cast<size_t>(self->SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(start), end));
}

std::u16string Editor::SelectedText() const {
    FixBreaks();
    auto* self = const_cast<Editor*>(this);
    const long start = self->SendScintilla(SCI_GETSELECTIONSTART);
    const long end = self->SendScintilla(SCI_GETSELECTIONEND);
    if (end <= start) return {};
    const char* data = reinterpret_cast<const char*>(
        self->SendScintilla(SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
    return DecodeUtf8(std::string_view(data, static_cast<size_t>(end - start)));
}

void Editor::ReplaceSelection(std::u16string_view text) {
    FixBreaks();
    const std::string utf8 = EncodeUtf8(WithCrLfBreaks(text));
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    // A command's own edit goes in even while the editor is locked against the user.
    const bool wasReadOnly = isReadOnly();
    SendScintilla(SCI_SETREADONLY, 0);
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
    insertingClean_ = true;
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(utf8.size()), utf8.data());
    insertingClean_ = false;
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
    FixBreaks();
    auto* self = const_cast<Editor*>(this);
    if (self->SendScintilla(SCI_GETLENGTH) == 0) return 0;
    return static_cast<size_t>(self->SendScintilla(SCI_GETLINECOUNT));
}

size_t Editor::TextLength() const {
    FixBreaks();
    auto* self = const_cast<Editor*>(this);
    const long length = self->SendScintilla(SCI_GETLENGTH);
    return static_cast<size_t>(self->SendScintilla(SCI_COUNTCODEUNITS, 0UL, length));
}

void Editor::SetBusy(bool busy) { setReadOnly(busy); }

}  // namespace vernalith
