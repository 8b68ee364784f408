#pragma once

#include <QObject>
#include <QString>

namespace vernalith {

// The program's hints and messages are shown exactly as written. Qt takes a text that starts with
// something tag-like ("простановка <p> ...") for rich text and swallows the tag; these helpers keep
// every character visible.

// The text with each line break as one "\n": an LF CR pair (as the tag hint and the tag-count
// message separate their lines), a CR LF pair, a lone LF and a lone CR.
QString WithSingleLineBreaks(const QString& text);

// Rich text that Qt renders as exactly `text`: every character escaped, each line break (as above)
// one line break, spaces kept, no other wrapping.
QString LiteralRichText(const QString& text);

// Shows the tool tip of the widget it watches as its literal text (see LiteralRichText), instead of
// letting Qt guess its format.
class LiteralToolTips : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vernalith
