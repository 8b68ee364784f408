#pragma once

#include "app/tool_window.h"

class QTabWidget;

namespace vernalith {

// `TForm6`: the settings of the character, line, footnote and article procedures, on five pages.
// Its fields are the settings themselves: there is no apply or cancel step, and showing the window
// never resets them.
class FunctionSettingsWindow : public ToolWindow {
    Q_OBJECT

public:
    // The pages in tab order; the openers name the page they show.
    enum Page { ReplacePage, RemovePage, ArticlesPage, LinePrefixSuffixPage, FootnotesPage };

    explicit FunctionSettingsWindow(QWidget* owner);

    // Shows the window modally at `page` (the "настройка функций" button and the "параметры" items).
    void OpenAtPage(int page);
    // Shows the window modally at the page it showed last, as the user left it; before anything
    // else has opened it, "Авторазбивка статей".
    void OpenAtLastPage();

    QTabWidget* pages() const { return pages_; }

private:
    void BuildReplacePage();
    void BuildRemovePage();
    void BuildArticlesPage();
    void BuildLinePrefixSuffixPage();
    void BuildFootnotesPage();

    QTabWidget* pages_ = nullptr;
};

}  // namespace vernalith
