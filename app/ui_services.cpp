#include "app/ui_services.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

#include "app/literal_text.h"

namespace vernalith {

namespace {

// The narrowest the text of a box may be, so that even a one-word message makes a box of a usual width.
constexpr int kLeastTextWidth = 240;

// The widest text a message box can hold on the screen: the box grows no wider than the screen (on a
// wide screen, than 480 pixels less than it and at most 1000), less its margins. Longer lines wrap.
int WidestBoxText(QWidget* parent) {
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen) return kLeastTextWidth;
    const int screenWidth = screen->availableGeometry().width();
    const int boxWidth = screenWidth <= 1024 ? screenWidth : qMin(screenWidth - 480, 1000);
    return qMax(kLeastTextWidth, boxWidth - 60);
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QStringLiteral("Vernalith"), QString(), QMessageBox::Ok, parent);
    // Messages quote tags ("<h1> - 2"): shown as they are, never taken for markup.
    box.setTextFormat(Qt::PlainText);
    // Each line break (the tag-count message separates its lines by LF CR) shows as one, and a
    // break that ends the message leaves no empty line above the button. The message itself is
    // not changed.
    QString shown = WithSingleLineBreaks(text);
    while (shown.endsWith(u'\n')) shown.chop(1);
    box.setText(shown);
    // As wide as the longest line, so no line is wrapped, within the screen.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        int longest = kLeastTextWidth;
        for (const QString& line : shown.split(u'\n')) {
            longest = qMax(longest, label->fontMetrics().horizontalAdvance(line) + 2);
        }
        label->setMinimumWidth(qMin(longest, WidestBoxText(parent)));
    }
    box.exec();
}

}  // namespace

void DesktopUiServices::ShowMessage(QWidget* parent, const QString& text) {
    ShowBox(parent, QMessageBox::NoIcon, text);
}

void DesktopUiServices::ShowError(QWidget* parent, const QString& text) {
    ShowBox(parent, QMessageBox::Critical, text);
}

void DesktopUiServices::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

}  // namespace vernalith
