#include "app/ui_services.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace vernalith {

void DesktopUiServices::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vernalith"), text, QMessageBox::Ok, parent);
    box.exec();
}

void DesktopUiServices::ShowError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vernalith"), text, QMessageBox::Ok, parent);
    box.exec();
}

void DesktopUiServices::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

}  // namespace vernalith
