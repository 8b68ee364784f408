#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "core/progress.h"

namespace vernalith {

// The reporter of a procedure that runs away from the window's thread. Its reports are queued, and
// the window's thread shows them with Drain (from a timer), in the order they were made, through the
// window's own reporter; a run of percentages (or gauge values) in a row is shown as its latest value,
// so a procedure that reports on every step can neither flood the window nor grow the queue. The
// worker never posts events, so the window's own events are never crowded out. PumpEvents costs
// nothing but a look at the stop flag: the window's thread handles its events by itself meanwhile.
class ThreadedProgress : public ProgressReporter {
public:
    // `shown` is used on the window's thread only; `stop` is the flag a stop request sets.
    ThreadedProgress(ProgressReporter& shown, const std::atomic<bool>& stop);

    void SetStatusCaption(std::u16string_view text) override;
    void ReportPercent(int percent) override;
    void ReportPercentSpaced(int percent) override;
    void ClearPercent() override;
    void SetGauge(Gauge gauge, int percent) override;
    void ShowProgressPanel() override;
    void HideProgressPanel() override;
    // Throws RunCancelled once a stop was requested.
    void PumpEvents() override;

    // Shows every report queued so far (on the window's thread).
    void Drain();

private:
    enum class Kind { Caption, Percent, PercentSpaced, Clear, Gauge1, Gauge2, ShowPanel, HidePanel };
    struct Report {
        Kind kind;
        int value = 0;
        std::u16string text = {};
    };
    void Push(Report report);

    ProgressReporter& shown_;
    const std::atomic<bool>& stop_;
    std::mutex mutex_;
    std::vector<Report> queue_;
};

}  // namespace vernalith
