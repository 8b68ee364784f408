#pragma once

#include <QStringList>
#include <functional>

#include "app/ui_services.h"

namespace vernalith::testing {

// Records what the user would have been shown instead of opening boxes or a browser.
class FakeUi : public UiServices {
public:
    void ShowMessage(QWidget*, const QString& text) override {
        messages << text;
        if (whileMessageShown) whileMessageShown();
    }
    void ShowError(QWidget*, const QString& text) override { errors << text; }
    void OpenUrl(const QString& url) override { urls << url; }

    QStringList messages;
    QStringList errors;
    QStringList urls;
    // Runs while a message box would be open, to look at the program's state at that moment.
    std::function<void()> whileMessageShown;
};

}  // namespace vernalith::testing
