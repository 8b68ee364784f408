#include "settings/tag_hotkey_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/window_settings.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

struct TagRow {
    const char* openingField;
    const char* closingField;
    const char* key;
    Setting opening;
    Setting closing;
};

constexpr TagRow kRows[] = {
    {"Edit1", "Edit5", "F5", Setting::HotkeyTagOpenF5, Setting::HotkeyTagCloseF5},
    {"Edit2", "Edit6", "F6", Setting::HotkeyTagOpenF6, Setting::HotkeyTagCloseF6},
    {"Edit3", "Edit7", "F7", Setting::HotkeyTagOpenF7, Setting::HotkeyTagCloseF7},
    {"Edit4", "Edit8", "F8", Setting::HotkeyTagOpenF8, Setting::HotkeyTagCloseF8},
};

// The hint's parts are separated by a line feed followed by a carriage return.
constexpr char16_t kHintBreak[] = u"\n\r";

void BindField(WindowSettings& settings, Setting setting, QLineEdit* field) {
    settings.Bind(
        setting, [field] { return ToU16(field->text()); },
        [field](const std::u16string& value) { field->setText(ToQString(value)); });
}

}  // namespace

TagHotkeyWindow::TagHotkeyWindow(QWidget* owner)
    : ToolWindow(owner, "TForm3", QStringLiteral(" Настройка"), QSize(316, 177)) {
    auto* frame = new QGroupBox(QStringLiteral(" Вставка тегов "), this);
    frame->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    for (int row = 0; row < 4; ++row) {
        const TagRow& tagRow = kRows[row];
        opening_[row] = new QLineEdit(ToQString(SettingInfoOf(tagRow.opening).defaultValue), frame);
        opening_[row]->setObjectName(tagRow.openingField);
        closing_[row] = new QLineEdit(ToQString(SettingInfoOf(tagRow.closing).defaultValue), frame);
        closing_[row]->setObjectName(tagRow.closingField);
        auto* label = new QLabel(QStringLiteral("- ") + QLatin1String(tagRow.key), frame);
        label->setObjectName(QStringLiteral("Label%1").arg(row + 1));
        grid->addWidget(opening_[row], row, 0);
        grid->addWidget(closing_[row], row, 1);
        grid->addWidget(label, row, 2);
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

void TagHotkeyWindow::BindSettings(WindowSettings& settings) {
    for (int row = 0; row < 4; ++row) {
        BindField(settings, kRows[row].opening, opening_[row]);
        BindField(settings, kRows[row].closing, closing_[row]);
    }
}

QString TagHotkeyWindow::TagHint() const {
    const QString separator = QString::fromUtf16(kHintBreak);
    QString hint = QStringLiteral("вставка тегов") + separator +
                   QStringLiteral("выделите нужный фрагмент текста и нажмите соответствующий хоткей");
    for (int row = 0; row < 4; ++row) {
        hint += separator + opening_[row]->text() + closing_[row]->text() + QStringLiteral(" - ") +
                QLatin1String(kRows[row].key);
    }
    return hint;
}

void TagHotkeyWindow::BuildTagHint() { emit TagHintBuilt(TagHint()); }

void TagHotkeyWindow::done(int result) {
    ToolWindow::done(result);
    BuildTagHint();
}

}  // namespace vernalith
