#pragma once

#include <string>
#include <string_view>
#include <thread>

class QsciScintillaBase;

namespace vernalith {

// A document built for the editor, possibly away from the window's thread, ready to be swapped in
// with Editor::Adopt. Created by Editor::NewDocument on the window's thread; Fill may run on any
// thread. Released unused when it goes out of scope without being adopted.
class PreparedDocument {
public:
    PreparedDocument() = default;
    PreparedDocument(PreparedDocument&& other) noexcept;
    PreparedDocument& operator=(PreparedDocument&& other) noexcept;
    ~PreparedDocument();

    // Puts the text in as the editor's text model has it: every line break (CR LF, lone CR, lone LF,
    // U+2028) becomes CR LF; U+0000 stays. Call once, this or FillUtf8.
    void Fill(std::u16string_view text);
    // The same for valid UTF-8 bytes; bytes that already have CR LF breaks only go in as they are,
    // without a round trip through UTF-16.
    void FillUtf8(std::string_view utf8);
    bool Filled() const { return document_ != nullptr; }

private:
    friend class Editor;
    PreparedDocument(QsciScintillaBase* control, void* loader) : control_(control), loader_(loader) {}
    void Release();

    QsciScintillaBase* control_ = nullptr;  // releases a document that was never adopted
    void* loader_ = nullptr;                // the control's loader, until Fill turns it into a document
    void* document_ = nullptr;              // the filled document, until Editor::Adopt takes it
    void* handle_ = nullptr;                // the same document seen as its loader: see DocumentDropper
};

// Drops the editor's last reference to a document it no longer shows on a thread of its own, so that
// freeing a large text (its buffers and per-line records) costs the window's thread nothing. Works
// through the document's loader interface, which needs no control. Waits for the last drop to end
// before the next and when it goes.
class DocumentDropper {
public:
    DocumentDropper() = default;
    DocumentDropper(const DocumentDropper&) = delete;
    DocumentDropper& operator=(const DocumentDropper&) = delete;
    ~DocumentDropper();

    // `handle` as PreparedDocument held it; nothing else may use the document any more.
    void Drop(void* handle);

private:
    std::thread thread_;
};

}  // namespace vernalith
