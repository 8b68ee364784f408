#include "app/custom_tag_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/window_settings.h"

namespace vernalith {

CustomTagWindow::CustomTagWindow(QWidget* owner)
    : ToolWindow(owner, "TForm5", QStringLiteral(" Подсчет своего тега"), QSize(233, 67)) {
    label1_ = new QLabel(QStringLiteral("введите тег для подсчета"), this);
    label1_->setObjectName("Label1");
    label1_->move(8, 8);
    label1_->adjustSize();
    edit1_ = new QLineEdit(QStringLiteral("<h4>"), this);
    edit1_->setObjectName("Edit1");
    edit1_->move(8, 27);
    edit1_->resize(121, edit1_->sizeHint().height());
    button1_ = new QPushButton(QStringLiteral("готово"), this);
    button1_->setObjectName("Button1");
    button1_->setGeometry(144, 25, 75, 25);
    // Enter in the field closes the window as the button does.
    button1_->setDefault(true);
    connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
}

void CustomTagWindow::BindSettings(WindowSettings& settings) {
    settings.Bind(
        Setting::CustomCountTag,
        [this] {
            const QString text = edit1_->text();
            return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
        },
        [this](const std::u16string& value) {
            edit1_->setText(QString::fromUtf16(value.data(), static_cast<qsizetype>(value.size())));
        });
}

}  // namespace vernalith
