#include "app/document/highlighting.h"

#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexersql.h>

#include "app/command_map.h"
#include "app/editor.h"
#include "app/main_window.h"

namespace vernalith {
namespace {

// Pure PHP: the control's HTML lexer in its PHP script mode.
class PhpLexer : public QsciLexerHTML {
public:
    using QsciLexerHTML::QsciLexerHTML;
    const char* language() const override { return "PHP"; }
    const char* lexer() const override { return "phpscript"; }
};

const CommandSpec& ToggleButton() { return *FindCommand(Highlighting::kToggle); }

}  // namespace

Highlighting::Highlighting(MainWindow& main) : QObject(&main), main_(main) {
    lexers_[Php] = new PhpLexer(this);
    lexers_[Css] = new QsciLexerCSS(this);
    lexers_[Html] = new QsciLexerHTML(this);
    lexers_[Sql] = new QsciLexerSQL(this);
    enabled_ = main_.ImageIndex(kToggle) == ToggleButton().images.onImage;
    connect(&main_, &MainWindow::ControlStateChanged, this, &Highlighting::OnControlStateChanged);
    Apply();
}

void Highlighting::Toggle() {
    const StateImages& images = ToggleButton().images;
    const bool on = main_.ImageIndex(kToggle) == images.onImage;
    main_.SetImageIndex(kToggle, on ? images.offImage : images.onImage);
}

void Highlighting::Choose(Highlighter highlighter) {
    for (size_t i = 0; i < kItems.size(); ++i) main_.SetMarked(kItems[i], i == static_cast<size_t>(highlighter));
}

void Highlighting::OnControlStateChanged(const QString& control) {
    const QByteArray name = control.toLatin1();
    const std::string_view changed(name.constData(), static_cast<size_t>(name.size()));
    if (changed == kToggle) {
        const bool on = main_.ImageIndex(kToggle) == ToggleButton().images.onImage;
        if (on == enabled_) return;
        enabled_ = on;
        Apply();
        return;
    }
    for (size_t i = 0; i < kItems.size(); ++i) {
        // Unmarking leaves the current highlighter as it is: with no item marked it is still in use.
        if (changed == kItems[i] && main_.IsMarked(kItems[i]) && current_ != static_cast<Highlighter>(i)) {
            current_ = static_cast<Highlighter>(i);
            Apply();
        }
    }
}

void Highlighting::Apply() { main_.editor()->SetHighlighter(enabled_ ? lexers_[current_] : nullptr); }

}  // namespace vernalith
