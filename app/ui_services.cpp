#include "app/ui_services.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace vernalith {

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QStringLiteral("Vernalith"), QString(), QMessageBox::Ok, parent);
    // Messages quote tags ("<h1> - 2"): shown as they are, never taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
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
