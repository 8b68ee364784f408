#include "app/settings/tag_hotkey_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/settings_table.h"

namespace vernalith {
namespace {

// The hint's parts are separated by a line feed followed by a carriage return.
constexpr char16_t kHintBreak[] = u"\n\r";

QString ObjectName(Setting setting) {
    const std::string_view name = SettingInfoOf(setting).field.object;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

TagHotkeyWindow::TagHotkeyWindow(QWidget* owner)
    : ToolWindow(owner, "TForm3", QStringLiteral(" Настройка"), QSize(316, 177)) {
    auto* frame = new QGroupBox(QStringLiteral(" Вставка тегов "), this);
    frame->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    // One row per hot key, its fields named as the settings table says; the settings binding fills them.
    int row = 0;
    for (const HotkeyTagPair& pair : HotkeyTagPairs()) {
        opening_[row] = new QLineEdit(frame);
        opening_[row]->setObjectName(ObjectName(pair.open));
        closing_[row] = new QLineEdit(frame);
        closing_[row]->setObjectName(ObjectName(pair.close));
        auto* label = new QLabel(QStringLiteral("- ") + QLatin1String(pair.key.data(), pair.key.size()), frame);
        label->setObjectName(QStringLiteral("Label%1").arg(row + 1));
        grid->addWidget(opening_[row], row, 0);
        grid->addWidget(closing_[row], row, 1);
        grid->addWidget(label, row, 2);
        ++row;
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* done = new QPushButton(QStringLiteral("готово"), this);
    done->setObjectName("Button1");
    done->setAutoDefault(false);
    // Button1Click: closes the window (which rebuilds the hint) and rebuilds the hint itself too.
    connect(done, &QPushButton::clicked, this, [this] {
        close();
        BuildTagHint();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(frame, 1);
    layout->addWidget(done);
}

QString TagHotkeyWindow::TagHint() const {
    const QString separator = QString::fromUtf16(kHintBreak);
    QString hint = QStringLiteral("вставка тегов") + separator +
                   QStringLiteral("выделите нужный фрагмент текста и нажмите соответствующий хоткей");
    int row = 0;
    for (const HotkeyTagPair& pair : HotkeyTagPairs()) {
        hint += separator + opening_[row]->text() + closing_[row]->text() + QStringLiteral(" - ") +
                QLatin1String(pair.key.data(), pair.key.size());
        ++row;
    }
    return hint;
}

void TagHotkeyWindow::BuildTagHint() { emit TagHintBuilt(TagHint()); }

void TagHotkeyWindow::done(int result) {
    ToolWindow::done(result);
    BuildTagHint();
}

}  // namespace vernalith
