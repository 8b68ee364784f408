#include "app/document/file_dialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace vernalith {
namespace {

// "все файлы" matches every file, also those without an extension.
const QStringList kFilters = {QStringLiteral("txt файлы (*.txt)"), QStringLiteral("htm файлы (*.htm)"),
                              QStringLiteral("все файлы (*)")};

void PrepareDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(kFilters);
    dialog.selectNameFilter(kFilters.first());
    dialog.setDirectory(QDir::currentPath());
}

}  // namespace

QString DesktopFileDialogs::OpenFileName(QWidget* parent) {
    QFileDialog dialog(parent);
    PrepareDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString DesktopFileDialogs::SaveFileName(QWidget* parent, SaveEncoding& encoding) {
    QFileDialog dialog(parent);
    PrepareDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setSizeGripEnabled(true);

    auto* encodings = new QComboBox(&dialog);
    encodings->setObjectName(QStringLiteral("EncodingList"));
    encodings->addItems({QStringLiteral("ANSI"), QStringLiteral("UTF-8")});
    encodings->setCurrentIndex(encoding == SaveEncoding::Utf8 ? 1 : 0);
    // Qt's own dialog lays its controls out in a grid: the list goes in a row of its own at the bottom.
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        auto* label = new QLabel(QStringLiteral("Кодировка:"), &dialog);
        label->setBuddy(encodings);
        grid->addWidget(label, row, 0);
        grid->addWidget(encodings, row, 1);
    }
    const bool accepted = dialog.exec() == QDialog::Accepted;
    encoding = encodings->currentIndex() == 1 ? SaveEncoding::Utf8 : SaveEncoding::Ansi;
    if (!accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace vernalith
