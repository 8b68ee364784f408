#pragma once

#include <QObject>
#include <array>
#include <string_view>

class QsciLexer;

namespace vernalith {

class MainWindow;

// The four highlighters of the editor (PHP, CSS, HTML, SQL) and their common on/off state. The
// state is shown by the controls, as everywhere in the program: `ToolButton37`'s image (34 on, 25
// off) and the mark on the chosen menu item. Whatever sets those (a command, a loaded setting)
// makes the editor follow.
class Highlighting : public QObject {
    Q_OBJECT

public:
    enum Highlighter { Php, Css, Html, Sql };
    static constexpr std::array<std::string_view, 4> kItems = {"N25", "css1", "htm1", "mysql1"};
    static constexpr std::string_view kToggle = "ToolButton37";

    explicit Highlighting(MainWindow& main);

    bool Enabled() const { return enabled_; }
    Highlighter Current() const { return current_; }

    // The commands: switch highlighting on or off, choose a highlighter.
    void Toggle();
    void Choose(Highlighter highlighter);

private:
    void OnControlStateChanged(const QString& control);
    void Apply();

    MainWindow& main_;
    std::array<QsciLexer*, 4> lexers_{};
    Highlighter current_ = Html;
    bool enabled_ = false;
};

}  // namespace vernalith
