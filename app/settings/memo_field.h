#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>

namespace vernalith {

// A multi-line settings field with a vertical scroll bar. Its text is what it shows, every line
// break read as CR LF: a break is neither added after the last line nor dropped from there, so a
// text that ends with a break shows an empty last line and reads back with its final CR LF.
class MemoField : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit MemoField(QWidget* parent = nullptr);

    // The lines joined by CR LF, characters exactly as stored (a non-breaking space stays one).
    std::u16string Text() const;
    // Replaces the text; CR LF, a lone CR and a lone LF each become a line break.
    void SetText(std::u16string_view text);

protected:
    // Shift+Enter starts a new line as Enter does, instead of a soft break inside the line.
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vernalith
