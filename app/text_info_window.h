#pragma once

#include "app/tool_window.h"

class QLabel;
class QPlainTextEdit;

namespace vernalith {

class ProgressReporter;
struct TextInformation;

// `TForm4`: the character counts (`Label1`, `Label2`) and the word-frequency list (`RichEdit1`) of
// the text. It has no behaviour of its own: the text-information command fills it and shows it, and
// it keeps what it shows until the next run.
class TextInfoWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit TextInfoWindow(QWidget* owner);

    QLabel* label1() const { return label1_; }
    QLabel* label2() const { return label2_; }
    QPlainTextEdit* wordBox() const { return wordBox_; }

    // Empties the word list; the labels keep their texts.
    void ClearWords();
    // Shows the two counts and one "word - count" line per word, in the given order, with the word
    // list's caret and scroll position at its start. Lets events through (`progress.PumpEvents`)
    // while it fills a long list.
    void ShowInformation(const TextInformation& information, ProgressReporter& progress);

    static constexpr size_t kLinesPerChunk = 2000;

private:
    QLabel* label1_;
    QLabel* label2_;
    QPlainTextEdit* wordBox_;
};

}  // namespace vernalith
