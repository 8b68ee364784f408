#include "app/threaded_progress.h"

namespace vernalith {

ThreadedProgress::ThreadedProgress(ProgressReporter& shown, const std::atomic<bool>& stop)
    : shown_(shown), stop_(stop) {}

void ThreadedProgress::SetStatusCaption(std::u16string_view text) { Push({Kind::Caption, 0, std::u16string(text)}); }
void ThreadedProgress::ReportPercent(int percent) { Push({Kind::Percent, percent}); }
void ThreadedProgress::ReportPercentSpaced(int percent) { Push({Kind::PercentSpaced, percent}); }
void ThreadedProgress::ClearPercent() { Push({Kind::Clear}); }
void ThreadedProgress::SetGauge(Gauge gauge, int percent) {
    Push({gauge == Gauge::Gauge1 ? Kind::Gauge1 : Kind::Gauge2, percent});
}
void ThreadedProgress::ShowProgressPanel() { Push({Kind::ShowPanel}); }
void ThreadedProgress::HideProgressPanel() { Push({Kind::HidePanel}); }

void ThreadedProgress::PumpEvents() {
    if (stop_.load(std::memory_order_relaxed)) throw RunCancelled();
}

void ThreadedProgress::Push(Report report) {
    std::lock_guard lock(mutex_);
    const bool merges = report.kind == Kind::Percent || report.kind == Kind::PercentSpaced ||
                        report.kind == Kind::Gauge1 || report.kind == Kind::Gauge2;
    if (merges && !queue_.empty() && queue_.back().kind == report.kind) {
        queue_.back().value = report.value;
    } else {
        queue_.push_back(std::move(report));
    }
}

void ThreadedProgress::Drain() {
    std::vector<Report> reports;
    {
        std::lock_guard lock(mutex_);
        reports.swap(queue_);
    }
    for (const Report& report : reports) {
        switch (report.kind) {
            case Kind::Caption:
                shown_.SetStatusCaption(report.text);
                break;
            case Kind::Percent:
                shown_.ReportPercent(report.value);
                break;
            case Kind::PercentSpaced:
                shown_.ReportPercentSpaced(report.value);
                break;
            case Kind::Clear:
                shown_.ClearPercent();
                break;
            case Kind::Gauge1:
                shown_.SetGauge(Gauge::Gauge1, report.value);
                break;
            case Kind::Gauge2:
                shown_.SetGauge(Gauge::Gauge2, report.value);
                break;
            case Kind::ShowPanel:
                shown_.ShowProgressPanel();
                break;
            case Kind::HidePanel:
                shown_.HideProgressPanel();
                break;
        }
    }
}

}  // namespace vernalith
