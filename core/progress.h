#pragma once

#include <cstddef>
#include <exception>
#include <string_view>

namespace vernalith {

enum class Gauge { Gauge1, Gauge2 };

// How a procedure shows its progress. The GUI implements it over the status bar and the progress
// panel; the command-line tool over standard error; tests record the calls.
class ProgressReporter {
public:
    virtual ~ProgressReporter() = default;

    virtual void SetStatusCaption(std::u16string_view text) = 0;
    // "выполнено - N%"
    virtual void ReportPercent(int percent) = 0;
    // "выполнено N %"
    virtual void ReportPercentSpaced(int percent) = 0;
    virtual void ClearPercent() = 0;
    virtual void SetGauge(Gauge gauge, int percent) = 0;
    virtual void ShowProgressPanel() = 0;
    virtual void HideProgressPanel() = 0;
    // Lets the user interface handle pending events. May throw RunCancelled when the user asked to
    // stop: the procedure then ends without a result and the caller keeps the text it had.
    virtual void PumpEvents() = 0;

    // Status caption back to "статус" and the percentage cleared: every procedure's normal end.
    void FinishReport();
};

// Thrown out of PumpEvents when a run is stopped by the user.
class RunCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "run cancelled"; }
};

// A reporter that shows nothing: for batch runs and for procedures called inside other procedures.
class SilentProgress : public ProgressReporter {
public:
    void SetStatusCaption(std::u16string_view) override {}
    void ReportPercent(int) override {}
    void ReportPercentSpaced(int) override {}
    void ClearPercent() override {}
    void SetGauge(Gauge, int) override {}
    void ShowProgressPanel() override {}
    void HideProgressPanel() override {}
    void PumpEvents() override {}
};

// The step counter of the character scans: at the start of each step, once the count has passed
// the limit, the scan reports its percentage and lets events through, and the count starts again.
// The limit is 30000 for character scans; tests pass a small one to compare report sequences.
class StepCounter {
public:
    explicit StepCounter(int limit = kDefaultLimit) : limit_(limit) {}

    // Counts one step about to be taken (compared first, then increased); returns true when the step
    // must report (and pump) first.
    bool Step() {
        if (count_ > limit_) {
            count_ = 1;
            return true;
        }
        ++count_;
        return false;
    }

    // Counts one step that is already done (the counter is increased first, then compared); returns
    // true when a report (and pump) must follow.
    bool StepDone() {
        if (++count_ > limit_) {
            count_ = 0;
            return true;
        }
        return false;
    }

    // How many Step() calls in a row will return false from here.
    size_t StepsBeforeReport() const { return count_ > limit_ ? 0 : static_cast<size_t>(limit_ + 1 - count_); }
    // Counts `steps` steps at once; `steps` must not exceed StepsBeforeReport().
    void Advance(size_t steps) { count_ += static_cast<int>(steps); }

    static constexpr int kDefaultLimit = 30000;

private:
    int limit_;
    int count_ = 0;
};

}  // namespace vernalith
