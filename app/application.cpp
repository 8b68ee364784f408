#include "app/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>

#include "app/automatic/chain_command.h"
#include "app/automatic/list_editor_window.h"
#include "app/custom_tag_window.h"
#include "app/document/document_commands.h"
#include "app/main_window.h"
#include "app/markup_commands.h"
#include "app/paragraph_command.h"
#include "app/settings/function_settings_window.h"
#include "app/settings/setting_fields.h"
#include "app/settings/settings_storage.h"
#include "app/settings/tag_hotkey_window.h"
#include "app/text_info_window.h"

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
    // No display name: the platform would add it to every window title, and each title is exactly
    // its window's caption.
    app.setApplicationName(QStringLiteral("Vernalith"));
    // Qt's own texts (context menus of text fields, standard dialogs and buttons) in Russian, like
    // the rest of the interface, whatever the system's language.
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qtTexts);
    } else {
        delete qtTexts;
    }
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

std::unique_ptr<ApplicationWindows> CreateApplicationWindows(UiServices& ui, RandomSource& random,
                                                             const QString& settingsFolder) {
    auto windows = std::make_unique<ApplicationWindows>();
    windows->form1 = std::make_unique<MainWindow>(ui, random);
    MainWindow* main = windows->form1.get();
    windows->form3 = new TagHotkeyWindow(main);
    windows->form4 = new TextInfoWindow(main);
    windows->form5 = new CustomTagWindow(main);
    windows->form6 = new FunctionSettingsWindow(main);
    windows->form7 = new ListEditorWindow(main);

    QWidget* const secondary[] = {windows->form3, windows->form4, windows->form5, windows->form6, windows->form7};
    BindSettingFields(*main, secondary);

    // The settings files are loaded when the main window is first shown and written when it closes.
    windows->storage = std::make_unique<SettingsStorage>(*main, settingsFolder);
    // The tag window's hint goes to the tag button; it is rebuilt when that window closes and at the
    // end of the main window's show step, once the settings have loaded in full.
    QObject::connect(windows->form3, &TagHotkeyWindow::TagHintBuilt, main,
                     [main](const QString& hint) { main->action("ToolButton16")->setToolTip(hint); });
    main->SetShowStep([storage = windows->storage.get(), form3 = windows->form3] {
        if (storage->Load()) form3->BuildTagHint();
    });
    main->SetCloseStep([storage = windows->storage.get()] { return storage->SaveOnClose(); });

    main->SetHandler("ToolButton16Click", [w = windows->form3] { w->ShowModal(); });
    main->SetHandler("N10Click", [w = windows->form5] { w->ShowModal(); });
    AttachMarkupCommands(*main, *windows->form4);
    AttachDocumentCommands(*main);
    main->SetHandler("ToolButton18Click", [main] { ParagraphCommand(*main); });
    AttachAutomaticProcessing(*main, *windows->form7, *windows->form6);
    // The function settings open at the page of the procedure they were asked from.
    using Page = FunctionSettingsWindow::Page;
    const std::pair<const char*, Page> functionSettingsOpeners[] = {
        {"ToolButton34Click", Page::ReplacePage}, {"N16Click", Page::ReplacePage},
        {"N13Click", Page::RemovePage},           {"N19Click", Page::ArticlesPage},
        {"N34Click", Page::LinePrefixSuffixPage}, {"N37Click", Page::FootnotesPage},
    };
    for (const auto& [handler, page] : functionSettingsOpeners) {
        main->SetHandler(handler, [w = windows->form6, page = page] { w->OpenAtPage(page); });
    }
    return windows;
}

}  // namespace vernalith
