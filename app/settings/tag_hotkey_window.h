#pragma once

#include "app/tool_window.h"

class QLineEdit;

namespace vernalith {

// `TForm3`: the four tag pairs of the hot keys F5 to F8. Its fields are the settings themselves;
// closing the window, by "готово" or by its close box, rebuilds the tag hint.
class TagHotkeyWindow : public ToolWindow {
    Q_OBJECT

public:
    explicit TagHotkeyWindow(QWidget* owner);

    // The hint of the tag button: the two fixed texts, then per hot key its opening and closing tag
    // written together and " - F5".." - F8", the parts separated by LF CR, nothing at the end.
    QString TagHint() const;
    // Announces the current TagHint() through TagHintBuilt.
    void BuildTagHint();

    QLineEdit* openingTagField(int row) const { return opening_[row]; }
    QLineEdit* closingTagField(int row) const { return closing_[row]; }

signals:
    void TagHintBuilt(const QString& hint);

protected:
    // Every way of closing the window ends here (the close box, "готово", Escape).
    void done(int result) override;

private:
    QLineEdit* opening_[4] = {};
    QLineEdit* closing_[4] = {};
};

}  // namespace vernalith
