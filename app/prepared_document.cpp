#include "app/prepared_document.h"

#include <Qsci/qsciscintillabase.h>

#include <algorithm>
#include <new>
#include <utility>

#include "core/encoding.h"
#include "core/fast_transcode.h"

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

// The loader reports running out of memory by its return value; a document missing part of its text
// must never be shown (and saved over the file it came from), so that ends the fill.
void AddPiece(DocumentLoader* loader, std::string_view piece) {
    if (loader->AddData(piece.data(), static_cast<ptrdiff_t>(piece.size())) != 0) throw std::bad_alloc();
}

// The length of the line break starting at byte i of valid UTF-8, 0 when none starts there. A break
// is CR LF, a lone CR, a lone LF, or U+2028 (E2 80 A8) with the CR and the LF right after it, if any.
size_t BreakAt(const unsigned char* data, size_t size, size_t i) {
    const unsigned char c = data[i];
    if (c == '\n') return 1;
    if (c == '\r') return i + 1 < size && data[i + 1] == '\n' ? 2 : 1;
    if (c != 0xE2 || i + 2 >= size || data[i + 1] != 0x80 || data[i + 2] != 0xA8) return 0;
    size_t j = i + 3;
    if (j < size && data[j] == '\r') ++j;
    if (j < size && data[j] == '\n') ++j;
    return j - i;
}

// Hands the loader the bytes with every break as CR LF, a megabyte or so at a time. Text with CR LF
// breaks only (a file saved by the editor) goes in as it is, without a copy.
void AddWithCrLfBreaks(DocumentLoader* loader, std::string_view utf8) {
    constexpr size_t kPiece = size_t{1} << 20;
    const auto* data = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t size = utf8.size();
    std::string piece;
    size_t runStart = 0;  // the bytes from runStart to i go in unchanged
    for (size_t i = 0; i < size;) {
        // Bytes above CR other than E2 start no break.
        const size_t length = data[i] > '\r' && data[i] != 0xE2 ? 0 : BreakAt(data, size, i);
        if (length == 0 || (length == 2 && data[i] == '\r')) {
            i += length == 0 ? 1 : 2;
            continue;
        }
        if (piece.empty() && i - runStart >= kPiece) {
            AddPiece(loader, utf8.substr(runStart, i - runStart));
        } else {
            piece.append(utf8, runStart, i - runStart);
        }
        piece += "\r\n";
        i += length;
        runStart = i;
        if (piece.size() >= kPiece) {
            AddPiece(loader, piece);
            piece.clear();
        }
    }
    if (!piece.empty()) AddPiece(loader, piece);
    if (runStart < size) AddPiece(loader, utf8.substr(runStart));
}

}  // namespace

PreparedDocument::PreparedDocument(PreparedDocument&& other) noexcept
    : control_(other.control_),
      loader_(std::exchange(other.loader_, nullptr)),
      document_(std::exchange(other.document_, nullptr)),
      handle_(std::exchange(other.handle_, nullptr)) {}

PreparedDocument& PreparedDocument::operator=(PreparedDocument&& other) noexcept {
    if (this != &other) {
        Release();
        control_ = other.control_;
        loader_ = std::exchange(other.loader_, nullptr);
        document_ = std::exchange(other.document_, nullptr);
        handle_ = std::exchange(other.handle_, nullptr);
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
    handle_ = nullptr;
}

void PreparedDocument::Fill(std::u16string_view text) {
    DocumentLoader* loader = AsLoader(loader_);
    // Encoded a megabyte at a time, every break written as CR LF on the way.
    EncodeText(text, TextEncoding::Utf8, /*editorBreaks=*/true, /*lfBreaks=*/false,
               [&](std::string_view piece) { AddPiece(loader, piece); });
    handle_ = loader_;
    document_ = loader->ConvertToDocument();
    loader_ = nullptr;
}

void PreparedDocument::FillUtf8(std::string_view utf8) {
    DocumentLoader* loader = AsLoader(loader_);
    AddWithCrLfBreaks(loader, utf8);
    handle_ = loader_;
    document_ = loader->ConvertToDocument();
    loader_ = nullptr;
}

DocumentDropper::~DocumentDropper() {
    if (thread_.joinable()) thread_.join();
}

void DocumentDropper::Drop(void* handle) {
    if (thread_.joinable()) thread_.join();
    // The loader is the document itself: its Release drops one reference, as the control's own
    // release call does, and frees the document with the last.
    thread_ = std::thread([handle] { AsLoader(handle)->Release(); });
}

}  // namespace vernalith
