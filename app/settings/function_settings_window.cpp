#include "app/settings/function_settings_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/settings/memo_field.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

// The fields are named as the settings table says; the settings binding fills them.
QString FieldName(Setting setting) {
    const std::string_view name = SettingInfoOf(setting).field.object;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// Room beside the tab bar at each end, as the style leaves between the tabs and the window's edge.
constexpr int kTabBarMargin = 4;

// A page laid out top to bottom.
class PageBuilder {
public:
    PageBuilder(QTabWidget* pages, const char* name, const QString& caption) : page_(new QWidget(pages)) {
        page_->setObjectName(name);
        layout_ = new QVBoxLayout(page_);
        layout_->setContentsMargins(8, 8, 8, 8);
        layout_->setSpacing(4);
        pages->addTab(page_, caption);
    }

    void Label(const QString& text) {
        auto* label = new QLabel(text, page_);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        layout_->addWidget(label);
    }

    MemoField* Memo(Setting setting) {
        auto* memo = new MemoField(page_);
        memo->setObjectName(FieldName(setting));
        layout_->addWidget(memo, 1);
        return memo;
    }

    // One-line fields side by side, each as wide as `width` (0: the full row).
    void Fields(std::initializer_list<Setting> settings, int width = 0) {
        auto* row = new QHBoxLayout;
        row->setSpacing(8);
        for (Setting setting : settings) {
            auto* field = new QLineEdit(page_);
            field->setObjectName(FieldName(setting));
            if (width > 0) field->setFixedWidth(width);
            row->addWidget(field);
        }
        if (width > 0) row->addStretch(1);
        layout_->addLayout(row);
    }

    void Gap(int pixels) { layout_->addSpacing(pixels); }
    void End() { layout_->addStretch(1); }

private:
    QWidget* page_;
    QVBoxLayout* layout_;
};

}  // namespace

FunctionSettingsWindow::FunctionSettingsWindow(QWidget* owner)
    : ToolWindow(owner, "TForm6", QStringLiteral(" Настройка функций"), QSize(336, 304)) {
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    pages_->setElideMode(Qt::ElideNone);
    BuildReplacePage();
    BuildRemovePage();
    BuildArticlesPage();
    BuildLinePrefixSuffixPage();
    BuildFootnotesPage();
    // The page the window first opens at when no opener chooses one.
    pages_->setCurrentIndex(ArticlesPage);

    // The bottom strip with "готово" at its right.
    auto* strip = new QWidget(this);
    strip->setObjectName("Panel1");
    strip->setFixedHeight(39);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(8, 7, 8, 7);
    stripLayout->addStretch(1);
    auto* done = new QPushButton(QStringLiteral("готово"), strip);
    done->setObjectName("Button1");
    done->setAutoDefault(false);
    stripLayout->addWidget(done);
    // Button1Click: closing changes nothing; the fields already hold the settings.
    connect(done, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pages_, 1);
    layout->addWidget(strip);

    // Every page caption is read in full, without scrolling the tabs: the window is at least as
    // wide as the five tabs side by side.
    const int tabsWidth = pages_->tabBar()->sizeHint().width() + 2 * kTabBarMargin;
    setFixedSize(qMax(width(), tabsWidth), height());
}

void FunctionSettingsWindow::BuildReplacePage() {
    PageBuilder page(pages_, "TabSheet1", QStringLiteral("Замена символов"));
    page.Label(QStringLiteral("введите через разделитель символы для замены"));
    page.Label(QStringLiteral("чувствительно к регистру"));
    page.Memo(Setting::ReplaceList);
    page.Label(QStringLiteral("использовать разделитель"));
    page.Fields({Setting::ReplaceSeparator}, 60);
}

void FunctionSettingsWindow::BuildRemovePage() {
    PageBuilder page(pages_, "TabSheet2", QStringLiteral("Удаление символов"));
    page.Label(QStringLiteral("введите построчно символы для удаления"));
    page.Memo(Setting::RemoveList);
}

void FunctionSettingsWindow::BuildArticlesPage() {
    PageBuilder page(pages_, "TabSheet3", QStringLiteral("Авторазбивка статей"));
    page.Label(QStringLiteral("тег заголовка"));
    page.Fields({Setting::HeadingOpenTag, Setting::HeadingCloseTag}, 100);
    page.Gap(6);
    page.Label(QStringLiteral("длинна заголовка в символах"));
    page.Fields({Setting::HeadingLength}, 100);
    page.Gap(6);
    page.Label(QStringLiteral("символов на статью (от и до)"));
    page.Fields({Setting::ArticleMinChars, Setting::ArticleMaxChars}, 100);
    page.End();
}

void FunctionSettingsWindow::BuildLinePrefixSuffixPage() {
    PageBuilder page(pages_, "TabSheet4", QStringLiteral("Вставка символов в начало и в конец строк"));
    page.Label(QStringLiteral("вставлять в начало строки"));
    page.Fields({Setting::LinePrefix});
    page.Gap(6);
    page.Label(QStringLiteral("вставлять в конец строки"));
    page.Fields({Setting::LineSuffix});
    page.End();
}

void FunctionSettingsWindow::BuildFootnotesPage() {
    PageBuilder page(pages_, "TabSheet5", QStringLiteral("Удаление сносок"));
    page.Label(QStringLiteral("введите шаблон для сносок - начало сноски и конец сноски"));
    page.Label(QStringLiteral("например, для \"(см. рис. N)\" вводим \"(см.\" и \")\""));
    page.Fields({Setting::FootnoteStart, Setting::FootnoteEnd}, 100);
    page.End();
}

void FunctionSettingsWindow::OpenAtPage(int page) {
    pages_->setCurrentIndex(page);
    ShowModal();
}

void FunctionSettingsWindow::OpenAtLastPage() { ShowModal(); }

}  // namespace vernalith
