#include "app/custom_tag_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vernalith {

CustomTagWindow::CustomTagWindow(QWidget* owner)
    : ToolWindow(owner, "TForm5", QStringLiteral(" Подсчет своего тега"), QSize(233, 67)) {
    label1_ = new QLabel(QStringLiteral("введите тег для подсчета"), this);
    label1_->setObjectName("Label1");
    label1_->move(8, 8);
    label1_->adjustSize();
    edit1_ = new QLineEdit(this);
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

}  // namespace vernalith
