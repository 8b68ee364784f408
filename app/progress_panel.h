#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <atomic>

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
class WindowProgress : public ProgressReporter {
public:
    WindowProgress(ProgressPanel& panel, QLabel& percentPanel);

    void SetStatusCaption(std::u16string_view text) override;
    void ReportPercent(int percent) override;
    void ReportPercentSpaced(int percent) override;
    void ClearPercent() override;
    void SetGauge(Gauge gauge, int percent) override;
    void ShowProgressPanel() override;
    void HideProgressPanel() override;
    void PumpEvents() override;

    // Asks the running procedure to stop at its next PumpEvents (from any thread).
    void RequestStop() { stopRequested_ = true; }
    void ClearStop() { stopRequested_ = false; }
    // The flag a stop request sets, for a procedure running away from the window's thread.
    const std::atomic<bool>& StopFlag() const { return stopRequested_; }

    static constexpr int kPumpIntervalMs = 30;

private:
    ProgressPanel& panel_;
    QLabel& percentPanel_;
    QElapsedTimer sincePump_;
    std::atomic<bool> stopRequested_ = false;
};

}  // namespace vernalith
