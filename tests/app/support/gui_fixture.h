#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/application.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/support/fake_ui.h"
#include "core/random.h"

namespace vernalith::testing {

// The real windows, created as at start-up, in a temporary current folder of their own, keeping their
// settings in a settings folder inside it (created by the first show).
struct GuiFixture {
    GuiFixture() : random(42) {
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        windows = CreateApplicationWindows(ui, random, SettingsFolder());
        window().resize(1000, 700);
    }
    ~GuiFixture() {
        windows.reset();
        QDir::setCurrent(previous);
    }

    MainWindow& window() { return *windows->form1; }
    QString SettingsFolder() const { return folder.filePath(QStringLiteral("settings")); }
    Editor& editor() { return *windows->form1->editor(); }

    // Shows the window and gives it the keyboard, so hot keys reach it.
    bool ShowActive() {
        window().show();
        window().activateWindow();
        return QTest::qWaitForWindowActive(&window());
    }

    QTemporaryDir folder;
    QString previous;
    FakeUi ui;
    SeededRandom random;
    std::unique_ptr<ApplicationWindows> windows;
};

// Replaces a field's text by typing, as the user does: select all, delete, then the new text (Cyrillic
// one key event per character, since QTest::keyClicks takes Latin-1 only; "\n" presses Return).
inline void TypeInto(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c == u'\n') {
            QTest::keyClick(field, Qt::Key_Return);
        } else {
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

inline QString Q(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string U(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

}  // namespace vernalith::testing
