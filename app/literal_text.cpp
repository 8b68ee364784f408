#include "app/literal_text.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace vernalith {

QString WithSingleLineBreaks(const QString& text) {
    QString lines;
    lines.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r') {
            lines += c;
            continue;
        }
        lines += u'\n';
        // The second character of an LF CR or CR LF pair belongs to the same break.
        if (i + 1 < text.size() && (text[i + 1] == u'\n' || text[i + 1] == u'\r') && text[i + 1] != c) ++i;
    }
    return lines;
}

QString LiteralRichText(const QString& text) {
    const QStringList lines = WithSingleLineBreaks(text).split(u'\n');
    QStringList escaped;
    escaped.reserve(lines.size());
    for (const QString& line : lines) escaped << line.toHtmlEscaped();
    // "white-space: pre" keeps runs of spaces and breaks lines only where the text does.
    return QStringLiteral("<p style=\"white-space:pre\">") + escaped.join(QStringLiteral("<br>")) +
           QStringLiteral("</p>");
}

bool LiteralToolTips::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::ToolTip || !widget || widget->toolTip().isEmpty()) {
        return QObject::eventFilter(watched, event);
    }
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), LiteralRichText(widget->toolTip()), widget);
    return true;
}

}  // namespace vernalith
