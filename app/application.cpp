#include "app/application.h"

#include <QApplication>
#include <QIcon>
#include <QProxyStyle>

#include "app/custom_tag_window.h"
#include "app/main_window.h"
#include "app/markup_commands.h"
#include "app/text_info_window.h"
#include "automatic/list_editor_window.h"
#include "settings/function_settings_window.h"
#include "settings/tag_hotkey_window.h"

namespace vernalith {
namespace {

// Tool tips appear at once.
class NoTooltipDelayStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay || hint == QStyle::SH_ToolTip_FallAsleepDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void ConfigureApplication(QApplication& app) {
    app.setApplicationName(QStringLiteral("Vernalith"));
    app.setApplicationDisplayName(QStringLiteral("Vernalith"));
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setStyleHint(QFont::SansSerif);
    app.setFont(font);
    // The button pictures come from the Oxygen icon theme, named explicitly so the desktop's own
    // theme (or none, on a bare machine) changes nothing.
    QIcon::setThemeSearchPaths({QStringLiteral("/usr/share/icons")});
    QIcon::setThemeName(QStringLiteral("oxygen"));
    QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
    app.setStyle(new NoTooltipDelayStyle);
}

ApplicationWindows::~ApplicationWindows() = default;

std::unique_ptr<ApplicationWindows> CreateApplicationWindows(UiServices& ui, RandomSource& random) {
    auto windows = std::make_unique<ApplicationWindows>();
    windows->form1 = std::make_unique<MainWindow>(ui, random);
    MainWindow* main = windows->form1.get();
    windows->form3 = new TagHotkeyWindow(main);
    windows->form4 = new TextInfoWindow(main);
    windows->form5 = new CustomTagWindow(main);
    windows->form6 = new FunctionSettingsWindow(main);
    windows->form7 = new ListEditorWindow(main);

    main->SetHandler("ToolButton16Click", [w = windows->form3] { w->ShowModal(); });
    main->SetHandler("N10Click", [w = windows->form5] { w->ShowModal(); });
    AttachMarkupCommands(*main, *windows->form4, *windows->form5);
    main->SetHandler("ToolButton34Click", [w = windows->form6] { w->ShowModal(); });
    main->SetHandler("N28Click", [w = windows->form7] { w->ShowModal(); });
    return windows;
}

}  // namespace vernalith
