#include "app/progress_panel.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/qt_text.h"
#include "core/percent.h"

namespace vernalith {
namespace {

QProgressBar* MakeGauge(QWidget* parent, const char* name, QRect geometry) {
    auto* gauge = new QProgressBar(parent);
    gauge->setObjectName(name);
    gauge->setGeometry(geometry);
    gauge->setRange(0, 100);
    gauge->setValue(0);
    gauge->setTextVisible(false);
    gauge->setStyleSheet(
        "QProgressBar { border: 1px solid gray; background: white; }"
        "QProgressBar::chunk { background: navy; }");
    return gauge;
}

}  // namespace

ProgressPanel::ProgressPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Panel1");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    resize(kWidth, kHeight);
    gauge2_ = MakeGauge(this, "Gauge2", QRect(8, 8, 265, 18));
    gauge1_ = MakeGauge(this, "Gauge1", QRect(8, 32, 265, 17));
    caption_ = new QLabel(QStringLiteral("статус"), this);
    caption_->setObjectName("Label1");
    caption_->move(8, 55);
    caption_->resize(190, 16);
    stop_ = new QPushButton(QStringLiteral("остановить"), this);
    stop_->setObjectName("stopButton");
    stop_->setGeometry(200, 54, 75, 19);
    stop_->hide();
    hide();
}

QPoint ProgressPanelPosition(int outerWidth, int outerHeight) {
    // left = w / 2 - 279 / 2, top = h / 2 - 77 / 2 - 27, each rounded half to even.
    const auto left = RoundedRatio(outerWidth - ProgressPanel::kWidth, 2);
    const auto top = RoundedRatio(outerHeight - ProgressPanel::kHeight - 54, 2);
    return {static_cast<int>(left), static_cast<int>(top)};
}

WindowProgress::WindowProgress(ProgressPanel& panel, QLabel& percentPanel)
    : panel_(panel), percentPanel_(percentPanel) {
    sincePump_.start();
}

void WindowProgress::SetStatusCaption(std::u16string_view text) { panel_.caption()->setText(ToQString(text)); }

void WindowProgress::ReportPercent(int percent) {
    percentPanel_.setText(QStringLiteral("выполнено - %1%").arg(percent));
}

void WindowProgress::ReportPercentSpaced(int percent) {
    percentPanel_.setText(QStringLiteral("выполнено %1 %").arg(percent));
}

void WindowProgress::ClearPercent() { percentPanel_.clear(); }

void WindowProgress::SetGauge(Gauge gauge, int percent) {
    (gauge == Gauge::Gauge1 ? panel_.gauge1() : panel_.gauge2())->setValue(percent);
}

void WindowProgress::ShowProgressPanel() {
    panel_.show();
    panel_.raise();
}

void WindowProgress::HideProgressPanel() { panel_.hide(); }

void WindowProgress::PumpEvents() {
    if (sincePump_.elapsed() >= kPumpIntervalMs) {
        QCoreApplication::processEvents();
        sincePump_.restart();
    }
    if (stopRequested_) {
        stopRequested_ = false;
        throw RunCancelled();
    }
}

}  // namespace vernalith
