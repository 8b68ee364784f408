#pragma once

#include <QString>
#include <QTextDocument>

namespace vernalith::testing {

// What Qt shows for `text` in a label, tool tip or message box of the given text format: the text
// itself when it is taken as plain text, else the characters of the rich text it is parsed into
// (each line break as "\n").
inline QString RenderedText(const QString& text, Qt::TextFormat format) {
    const bool rich = format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
    if (!rich) return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

}  // namespace vernalith::testing
