#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <atomic>
#include <memory>

#include "core/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vernalith {

// The floating progress panel `Panel1`: the overall gauge `Gauge2`, the gauge `Gauge1`, the status
// caption `Label1` and the stop button "остановить" (hidden).
class ProgressPanel : public QFrame {
    Q_OBJECT

public:
    explicit ProgressPanel(QWidget* parent);

    QProgressBar* gauge1() const { return gauge1_; }
    QProgressBar* gauge2() const { return gauge2_; }
    QLabel* caption() const { return caption_; }
    QPushButton* stopButton() const { return stop_; }

    static constexpr int kWidth = 279;
    static constexpr int kHeight = 77;

private:
    QProgressBar* gauge1_;
    QProgressBar* gauge2_;
    QLabel* caption_;
    QPushButton* stop_;
};

// Where the panel stands in the main window's client area for the window's outer size: centred,
// 27 pixels above the middle, halves rounded to the even neighbour (1000 x 700 gives 360, 284).
QPoint ProgressPanelPosition(int outerWidth, int outerHeight);

// The program's ProgressReporter: the status caption and gauges on the panel, the percentage in the
// status bar's third panel. Lets pending events through at most every 30 ms, so that a fast scan
// is never dominated by event handling, and throws RunCancelled once a stop was requested.
//
// It also offers stopping a run: between BeginRun and EndRun the stop button "остановить" and the
// Escape key ask the procedure to stop. The button shows at once for a run that asks for it (the
// automatic processing) and otherwise once the run has taken kStopOfferedAfterMs; a single command
// has no panel of its own, so the panel then shows with its gauges hidden. A stop takes effect at
// the procedure's next PumpEvents: the panel hides, both gauges go to 0, the status caption and the
// percentage are cleared, and RunCancelled is thrown.
class WindowProgress : public ProgressReporter {
public:
    WindowProgress(ProgressPanel& panel, QLabel& percentPanel);
    ~WindowProgress() override;

    void SetStatusCaption(std::u16string_view text) override;
    void ReportPercent(int percent) override;
    void ReportPercentSpaced(int percent) override;
    void ClearPercent() override;
    void SetGauge(Gauge gauge, int percent) override;
    void ShowProgressPanel() override;
    void HideProgressPanel() override;
    void PumpEvents() override;

    // A text command's run starts and ends (the command wrapper calls these).
    void BeginRun(bool stopOfferedAtOnce);
    void EndRun();
    bool Running() const { return running_; }

    // Asks the running procedure to stop at its next PumpEvents (from any thread).
    void RequestStop() { stopRequested_ = true; }
    void ClearStop() { stopRequested_ = false; }
    // The flag a stop request sets, for a procedure running away from the window's thread.
    const std::atomic<bool>& StopFlag() const { return stopRequested_; }
    // What a stop shows: the panel hidden, both gauges at 0, the caption and percentage cleared.
    void ShowStopped();
    // Offers the stop button when the run has gone on long enough and it is not shown yet.
    void OfferStopIfLong();

    static constexpr int kPumpIntervalMs = 30;
    static constexpr int kStopOfferedAfterMs = 500;

private:
    void OfferStop();

    ProgressPanel& panel_;
    QLabel& percentPanel_;
    QElapsedTimer sincePump_;
    QElapsedTimer sinceRunStart_;
    std::unique_ptr<QObject> escapeFilter_;
    std::atomic<bool> stopRequested_ = false;
    bool running_ = false;
    // The panel was shown only to offer the stop button; the gauges' visibility before that.
    bool panelShownForStop_ = false;
    bool gauge1WasHidden_ = false;
    bool gauge2WasHidden_ = false;
};

}  // namespace vernalith
