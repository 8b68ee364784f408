#include "app/progress_panel.h"

#include <QApplication>
#include <QKeyEvent>
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

// While a run goes on, Escape asks it to stop, wherever the main window's focus is (the editor would
// otherwise take the key); not while a window opened during the run is in front.
class EscapeStops : public QObject {
public:
    explicit EscapeStops(WindowProgress& progress) : progress_(progress) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            !QApplication::activeModalWidget()) {
            progress_.RequestStop();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    WindowProgress& progress_;
};

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
    : panel_(panel), percentPanel_(percentPanel), escapeFilter_(std::make_unique<EscapeStops>(*this)) {
    sincePump_.start();
    QObject::connect(panel_.stopButton(), &QPushButton::clicked, escapeFilter_.get(), [this] { RequestStop(); });
}

WindowProgress::~WindowProgress() = default;

void WindowProgress::BeginRun(bool stopOfferedAtOnce) {
    running_ = true;
    stopRequested_ = false;
    sinceRunStart_.start();
    qApp->installEventFilter(escapeFilter_.get());
    if (stopOfferedAtOnce) panel_.stopButton()->show();
}

void WindowProgress::EndRun() {
    running_ = false;
    stopRequested_ = false;
    qApp->removeEventFilter(escapeFilter_.get());
    panel_.stopButton()->hide();
    if (panelShownForStop_) {
        panelShownForStop_ = false;
        panel_.hide();
        panel_.gauge1()->setHidden(gauge1WasHidden_);
        panel_.gauge2()->setHidden(gauge2WasHidden_);
    }
}

void WindowProgress::OfferStop() {
    if (panel_.isHidden()) {
        // A single command: only the caption and the button mean anything on the panel.
        panelShownForStop_ = true;
        gauge1WasHidden_ = panel_.gauge1()->isHidden();
        gauge2WasHidden_ = panel_.gauge2()->isHidden();
        panel_.gauge1()->hide();
        panel_.gauge2()->hide();
        ShowProgressPanel();
    }
    panel_.stopButton()->show();
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
        OfferStopIfLong();
        QCoreApplication::processEvents();
        sincePump_.restart();
    }
    if (stopRequested_) {
        stopRequested_ = false;
        ShowStopped();
        throw RunCancelled();
    }
}

void WindowProgress::OfferStopIfLong() {
    if (running_ && panel_.stopButton()->isHidden() && sinceRunStart_.elapsed() >= kStopOfferedAfterMs) OfferStop();
}

void WindowProgress::ShowStopped() {
    HideProgressPanel();
    SetGauge(Gauge::Gauge1, 0);
    SetGauge(Gauge::Gauge2, 0);
    FinishReport();
}

}  // namespace vernalith
