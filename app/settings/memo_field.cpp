#include "app/settings/memo_field.h"

#include <QKeyEvent>
#include <QTextBlock>

namespace vernalith {

MemoField::MemoField(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

std::u16string MemoField::Text() const {
    // Each block is one line; the block texts keep their characters as typed (the document's plain
    // text form would turn non-breaking spaces into spaces).
    std::u16string text;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin()) text += u"\r\n";
        const QString line = block.text();
        text.append(reinterpret_cast<const char16_t*>(line.utf16()), static_cast<size_t>(line.size()));
    }
    return text;
}

void MemoField::SetText(std::u16string_view text) {
    QString lines;
    lines.reserve(static_cast<qsizetype>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            lines += QChar(u'\n');
        } else {
            lines += QChar(c);
        }
    }
    setPlainText(lines);
}

void MemoField::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                        event->isAutoRepeat(), static_cast<ushort>(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

}  // namespace vernalith
