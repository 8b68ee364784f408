#include "app/text_info_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "app/qt_text.h"
#include "markup/text_info.h"

namespace vernalith {
TextInfoWindow::TextInfoWindow(QWidget* owner)
    : ToolWindow(owner, "TForm4", QStringLiteral(" Информация о тексте"), QSize(431, 142)) {
    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    label1_->setGeometry(8, 8, 205, 16);
    label2_ = new QLabel(this);
    label2_->setObjectName("Label2");
    label2_->setGeometry(8, 27, 205, 16);
    wordBox_ = new QPlainTextEdit(this);
    wordBox_->setObjectName("RichEdit1");
    wordBox_->setGeometry(219, 8, 201, 121);
    wordBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    wordBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    wordBox_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The list is a result to read and copy from, not to edit.
    wordBox_->setReadOnly(true);
    wordBox_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    wordBox_->setUndoRedoEnabled(false);
}

void TextInfoWindow::ClearWords() { wordBox_->clear(); }

void TextInfoWindow::ShowInformation(const TextInformation& information, ProgressReporter& progress) {
    label1_->setText(ToQString(information.totalLabel));
    label2_->setText(ToQString(information.nonSpaceLabel));
    // A long list is added in chunks with events let through between them: building the box's
    // document costs a few microseconds a line, which for a few hundred thousand distinct words
    // would otherwise freeze the window for a noticeable while. One chunk costs a few milliseconds.
    wordBox_->clear();
    QTextCursor end(wordBox_->document());
    std::u16string chunk;
    size_t lines = 0;
    for (const WordCount& word : information.words) {
        if (lines > 0) chunk.push_back(u'\n');
        AppendWordListLine(chunk, information, word);
        if (++lines % kLinesPerChunk == 0) {
            end.insertText(ToQString(chunk));
            chunk.clear();
            progress.PumpEvents();
        }
    }
    end.insertText(ToQString(chunk));
    wordBox_->moveCursor(QTextCursor::Start);
    wordBox_->verticalScrollBar()->setValue(0);
}

}  // namespace vernalith
