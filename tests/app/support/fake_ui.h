#pragma once

#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

#include "app/ui_services.h"

namespace vernalith::testing {

// Answers the file dialogs with what a test put in: the next chosen file (empty: cancel) and the
// encoding the user selects in the save dialog (none: left as shown).
class FakeFileDialogs : public FileDialogs {
public:
    QString OpenFileName(QWidget*) override {
        ++openShown;
        if (whileShown) whileShown();
        return std::exchange(nextFile, QString());
    }
    QString SaveFileName(QWidget*, SaveEncoding& encoding) override {
        ++saveShown;
        if (whileShown) whileShown();
        shownEncoding = encoding;
        if (selectEncoding) encoding = *std::exchange(selectEncoding, std::nullopt);
        return std::exchange(nextFile, QString());
    }

    QString nextFile;
    std::optional<SaveEncoding> selectEncoding;
    std::optional<SaveEncoding> shownEncoding;
    // Runs while a dialog would be open (a real one may change the current folder).
    std::function<void()> whileShown;
    int openShown = 0;
    int saveShown = 0;
};

// Records what the user would have been shown instead of opening boxes or a browser.
class FakeUi : public UiServices {
public:
    void ShowMessage(QWidget*, const QString& text) override {
        messages << text;
        if (whileMessageShown) whileMessageShown();
    }
    void ShowError(QWidget*, const QString& text) override { errors << text; }
    void OpenUrl(const QString& url) override { urls << url; }
    FileDialogs& Files() override { return files; }

    QStringList messages;
    QStringList errors;
    QStringList urls;
    FakeFileDialogs files;
    // Runs while a message box would be open, to look at the program's state at that moment.
    std::function<void()> whileMessageShown;
};

}  // namespace vernalith::testing
