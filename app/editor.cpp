#include "app/editor.h"

#include <Qsci/qscilexerhtml.h>

#include <QFont>
#include <utility>

#include "core/editor_text.h"
#include "core/encoding.h"

namespace vernalith {

// The control's document loader (its interface as the control defines it): text is added in pieces,
// then turned into a document that the control can be switched to. Declared outside an anonymous
// namespace on purpose: the objects come from the control's library, and a class with internal
// linkage and no implementation in sight would let the compiler assume no object of it can exist.
class DocumentLoader {
public:
    virtual int Release() = 0;
    virtual int AddData(const char* data, ptrdiff_t length) = 0;
    virtual void* ConvertToDocument() = 0;

protected:
    ~DocumentLoader() = default;
};

namespace {

DocumentLoader* AsLoader(void* loader) { return static_cast<DocumentLoader*>(loader); }

// Code units converted to UTF-8 per piece: small enough to keep the copy short-lived.
constexpr size_t kFillPiece = size_t{1} << 20;

}  // namespace

PreparedDocument::PreparedDocument(PreparedDocument&& other) noexcept
    : control_(other.control_),
      loader_(std::exchange(other.loader_, nullptr)),
      document_(std::exchange(other.document_, nullptr)) {}

PreparedDocument& PreparedDocument::operator=(PreparedDocument&& other) noexcept {
    if (this != &other) {
        Release();
        control_ = other.control_;
        loader_ = std::exchange(other.loader_, nullptr);
        document_ = std::exchange(other.document_, nullptr);
    }
    return *this;
}

PreparedDocument::~PreparedDocument() { Release(); }

void PreparedDocument::Release() {
    if (loader_) AsLoader(loader_)->Release();
    // A filled document nobody adopted: its one reference is dropped through the control.
    if (document_) control_->SendScintilla(QsciScintillaBase::SCI_RELEASEDOCUMENT, 0UL, document_);
    loader_ = nullptr;
    document_ = nullptr;
}

void PreparedDocument::Fill(std::u16string_view text) {
    // Texts from the editor and the procedures already have CR LF breaks: no normalised copy then.
    std::u16string normalized;
    if (!HasOnlyCrLfBreaks(text)) {
        normalized = ToEditorText(text);
        text = normalized;
    }
    DocumentLoader* loader = AsLoader(loader_);
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.size(), start + kFillPiece);
        // Never split a surrogate pair between two pieces.
        if (end < text.size() && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) ++end;
        const std::string utf8 = EncodeUtf8(text.substr(start, end - start));
        loader->AddData(utf8.data(), static_cast<ptrdiff_t>(utf8.size()));
        start = end;
    }
    document_ = loader->ConvertToDocument();
    loader_ = nullptr;
}

Editor::Editor(QWidget* parent) : QsciScintilla(parent) {
    setObjectName("richedit1");
    setUtf8(true);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1);
    ApplyLook();
    ApplyDocumentSettings();
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

std::u16string Editor::Text() const { return DecodeUtf8(Utf8Text()); }

void Editor::ReplaceText(std::u16string_view text) {
    PreparedDocument document = NewDocument();
    document.Fill(text);
    Adopt(std::move(document));
}

PreparedDocument Editor::NewDocument() {
    return PreparedDocument(this, reinterpret_cast<void*>(SendScintilla(SCI_CREATELOADER, 0UL, 0L)));
}

void Editor::Adopt(PreparedDocument document) {
    if (!document.Filled()) document.Fill(u"");
    silent_ = true;
    const bool wasReadOnly = isReadOnly();
    // The outgoing document is emptied first: the control keeps its first document alive for as
    // long as it exists, and that one should not go on holding a whole text.
    SendScintilla(SCI_SETREADONLY, 0);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    void* incoming = std::exchange(document.document_, nullptr);
    SendScintilla(SCI_SETDOCPOINTER, 0UL, incoming);
    // The control holds the document now; the loader's own reference goes.
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, incoming);
    lineIndexReady_ = false;
    // A loaded document starts without a typing history, and collects one from here.
    SendScintilla(SCI_SETUNDOCOLLECTION, 1);
    ApplyDocumentSettings();
    SendScintilla(SCI_GOTOPOS, 0);
    SendScintilla(SCI_SETREADONLY, wasReadOnly ? 1 : 0);
    silent_ = false;
}

std::string_view Editor::Utf8Text() const {
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
    if (QsciLexer* highlighter = lexer()) {
        // The language, keywords and properties live with the document; the styles with the view.
        SendScintilla(SCI_SETLEXERLANGUAGE, 0UL, highlighter->lexer());
        for (int set = 0; set < 9; ++set) {
            if (const char* words = highlighter->keywords(set + 1)) {
                SendScintilla(SCI_SETKEYWORDS, static_cast<unsigned long>(set), words);
            }
        }
        highlighter->refreshProperties();
    }
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
